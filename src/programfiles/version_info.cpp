#include "programfiles/version_info.h"

#include <cstdio>

namespace vk {

std::string Version_Value(const VersionBlock& block, const std::string& key) {
  const auto table = block.Query("\\VarFileInfo\\Translation");
  if (!table || table->size() < 4) return {};
  const unsigned language = (*table)[0] | ((*table)[1] << 8);
  const unsigned code_page = (*table)[2] | ((*table)[3] << 8);
  char path[64];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\", language, code_page);
  return block.QueryText(path + key).value_or(std::string());
}

bool Flag_Set(const VS_FIXEDFILEINFO& fixed, std::uint32_t flag) {
  return (flag & fixed.dwFileFlagsMask & fixed.dwFileFlags) == flag;
}

std::string File_Function_Text(const VS_FIXEDFILEINFO& f) {
  static const char* const kDrivers[] = {"Unknown Driver",  "Printer Driver", "Keyboard Driver", "Language Driver",
                                         "Display Driver",  "Mouse Driver",   "Network Driver",  "System Driver",
                                         "InstallableDriver", "Sound Driver", "Communications Driver"};
  static const char* const kFonts[] = {"Unknown Font", "Raster Font", "Vector Font", "Truetype Font"};
  switch (f.dwFileType) {
    case 0: return "Unknown";
    case 1: return "Application";
    case 2: return "DLL";
    case 3: return f.dwFileSubtype <= 10 ? kDrivers[f.dwFileSubtype] : "";
    case 4: return f.dwFileSubtype <= 3 ? kFonts[f.dwFileSubtype] : "";
    case 5: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "Virtual Defice Identifier = %08X", f.dwFileSubtype);
      return buf;
    }
    case 7: return "Static-link Library";
    default: return "";
  }
}

TFileVersionInfo VersionInfoFromBlock(const std::vector<std::uint8_t>& bytes) {
  TFileVersionInfo info;
  const auto block = VersionBlock::Parse(bytes);
  if (!block) return info;
  info.CompanyName = Version_Value(*block, "CompanyName");
  info.FileDescription = Version_Value(*block, "FileDescription");
  info.FileVersion = Version_Value(*block, "FileVersion");
  info.InternalName = Version_Value(*block, "InternalName");
  info.LegalCopyRight = Version_Value(*block, "LegalCopyRight");
  info.LegalTradeMarks = Version_Value(*block, "LegalTradeMarks");
  info.OriginalFileName = Version_Value(*block, "OriginalFileName");
  info.ProductName = Version_Value(*block, "ProductName");
  info.ProductVersion = Version_Value(*block, "ProductVersion");
  info.Comments = Version_Value(*block, "Comments");
  info.SpecialBuildStr = Version_Value(*block, "SpecialBuild");
  info.PrivateBuildStr = Version_Value(*block, "PrivateBuild");
  // A block without a readable root leaves the flags false and the function empty.
  if (const auto fixed = block->Fixed()) {
    info.DebugBuild = Flag_Set(*fixed, 1);
    info.PreRelease = Flag_Set(*fixed, 2);
    info.PrivateBuild = Flag_Set(*fixed, 8);
    info.SpecialBuild = Flag_Set(*fixed, 32);
    info.Patched = Flag_Set(*fixed, 4);
    info.InfoInferred = Flag_Set(*fixed, 16);
    info.FileFunction = File_Function_Text(*fixed);
  }
  return info;
}

TFileVersionInfo Read_Version_Info(const std::string& path, const FileTypeNameFn& type_name) {
  TFileVersionInfo info;
  if (type_name)
    if (auto t = type_name(path)) info.FileType = t->substr(0, 80);
  if (!IsExecutableProgram(path)) return info;
  const auto bytes = ReadElfSection(path, ".vkversion");
  if (!bytes || bytes->empty()) return info;
  std::string file_type = std::move(info.FileType);
  info = VersionInfoFromBlock(*bytes);
  info.FileType = std::move(file_type);
  return info;
}

std::array<std::pair<std::string, std::string>, 17> VersionGridRows(const TFileVersionInfo& i) {
  auto yes_no = [](bool b) { return std::string(b ? "Yes" : "No"); };
  return {{{"FileType        ", i.FileType},
           {"CompanyName     ", i.CompanyName},
           {"FileDescription ", i.FileDescription},
           {"FileVersion     ", i.FileVersion},
           {"InternalName    ", i.InternalName},
           {"LegalCopyRight  ", i.LegalCopyRight},
           {"LegalTradeMarks ", i.LegalTradeMarks},
           {"OriginalFileName", i.OriginalFileName},
           {"ProductName     ", i.ProductName},
           {"ProductVersion  ", i.ProductVersion},
           {"SpecialBuildStr ", i.SpecialBuildStr},
           {"PrivateBuildStr ", i.PrivateBuildStr},
           {"FileFunction    ", i.FileFunction},
           {"DebugBuild      ", yes_no(i.DebugBuild)},
           {"PreRelease      ", yes_no(i.PreRelease)},
           {"PrivateBuild    ", yes_no(i.PrivateBuild)},
           {"SpecialBuild    ", yes_no(i.SpecialBuild)}}};
}

}  // namespace vk
