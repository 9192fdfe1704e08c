// The program's version information, read back from an executable's version block.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "programfiles/version_block.h"

namespace vk {

struct TFileVersionInfo {
  std::string FileType, CompanyName, FileDescription, FileVersion, InternalName, LegalCopyRight, LegalTradeMarks,
      OriginalFileName, ProductName, ProductVersion, Comments, SpecialBuildStr, PrivateBuildStr, FileFunction;
  bool DebugBuild = false, PreRelease = false, SpecialBuild = false, PrivateBuild = false, Patched = false,
       InfoInferred = false;
};

// The type name of a file (for example its MIME comment), or nothing.
using FileTypeNameFn = std::function<std::optional<std::string>(const std::string& path)>;

// The version value of `key` from the first translation's string table
// ("\StringFileInfo\<LLLLCCCC>\<key>", upper-case hexadecimal); keys compare
// without regard to case. Returns: empty when there is no translation table or no such key.
std::string Version_Value(const VersionBlock& block, const std::string& key);

// True when flag AND file-flags-mask AND file-flags equals flag.
bool Flag_Set(const VS_FIXEDFILEINFO& fixed, std::uint32_t flag);

// "Application", "DLL", "Printer Driver", … by file type and subtype; empty for unknown ones.
std::string File_Function_Text(const VS_FIXEDFILEINFO& fixed);

// The version information of a file: its type name from `type_name` (when
// given), and for an executable program with a version block in section
// ".vkversion" the strings, flags and function. Never fails: what cannot be
// read stays empty or false.
TFileVersionInfo Read_Version_Info(const std::string& path, const FileTypeNameFn& type_name = {});

// As Read_Version_Info, from a version block given as bytes (no type name, no executable test).
TFileVersionInfo VersionInfoFromBlock(const std::vector<std::uint8_t>& bytes);

// The 17 rows of the version grid: label padded to 16 characters, value.
std::array<std::pair<std::string, std::string>, 17> VersionGridRows(const TFileVersionInfo& info);

}  // namespace vk
