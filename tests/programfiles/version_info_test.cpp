#include "programfiles/version_info.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vk {
namespace {

VersionSpec Spec() {
  VersionSpec s;
  s.strings = {{"CompanyName", "Vesperkalend"}, {"FileVersion", "1.9.0.0"}, {"ProductName", "Vesperkalend"},
               {"LegalCopyRight", "© 2026"}};
  return s;
}

TEST(VersionBlock, TranslationSelectsTheStringTable) {
  VersionSpec s = Spec();  // language 0809, code page 04E4
  const TFileVersionInfo info = VersionInfoFromBlock(BuildVersionBlock(s));
  EXPECT_EQ(info.FileVersion, "1.9.0.0");
  EXPECT_EQ(info.LegalCopyRight, "© 2026") << "UTF-16 values come back as UTF-8";
  const auto block = VersionBlock::Parse(BuildVersionBlock(s));
  ASSERT_TRUE(block);
  EXPECT_EQ(block->QueryText("\\StringFileInfo\\080904E4\\FileVersion"), "1.9.0.0");
  EXPECT_EQ(block->QueryText("\\stringfileinfo\\080904e4\\fileversion"), "1.9.0.0") << "keys ignore case";

  // The same strings under another table than the translation names: not found.
  s.table_key = "040904B0";
  EXPECT_EQ(VersionInfoFromBlock(BuildVersionBlock(s)).FileVersion, "");
  s.translations = {0x04B00409};
  EXPECT_EQ(VersionInfoFromBlock(BuildVersionBlock(s)).FileVersion, "1.9.0.0");
  s.translations.clear();
  EXPECT_EQ(VersionInfoFromBlock(BuildVersionBlock(s)).FileVersion, "") << "no translation table";
}

TEST(VersionBlock, KeysStoredWithOtherCapitalsAreFound) {
  VersionSpec s = Spec();
  s.strings = {{"fileVERSION", "2.0"}, {"LegalCopyright", "x"}};
  const TFileVersionInfo info = VersionInfoFromBlock(BuildVersionBlock(s));
  EXPECT_EQ(info.FileVersion, "2.0");
  EXPECT_EQ(info.LegalCopyRight, "x");
  EXPECT_EQ(info.CompanyName, "");
}

TEST(VersionBlock, FlagsAndTheirMask) {
  VersionSpec s = Spec();
  s.fixed.dwFileFlagsMask = 63;
  s.fixed.dwFileFlags = 0;
  auto rows = VersionGridRows(VersionInfoFromBlock(BuildVersionBlock(s)));
  for (int r = 13; r <= 16; ++r) EXPECT_EQ(rows[static_cast<std::size_t>(r)].second, "No") << "row " << r;
  s.fixed.dwFileFlags = 1 | 8;
  TFileVersionInfo info = VersionInfoFromBlock(BuildVersionBlock(s));
  EXPECT_TRUE(info.DebugBuild);
  EXPECT_TRUE(info.PrivateBuild);
  EXPECT_FALSE(info.PreRelease);
  s.fixed.dwFileFlagsMask = 8;  // a flag outside the mask does not count
  info = VersionInfoFromBlock(BuildVersionBlock(s));
  EXPECT_FALSE(info.DebugBuild);
  EXPECT_TRUE(info.PrivateBuild);
}

TEST(VersionBlock, FileFunctionTexts) {
  VS_FIXEDFILEINFO f;
  f.dwFileType = 1;
  EXPECT_EQ(File_Function_Text(f), "Application");
  f.dwFileType = 3;
  f.dwFileSubtype = 10;
  EXPECT_EQ(File_Function_Text(f), "Communications Driver");
  f.dwFileSubtype = 11;
  EXPECT_EQ(File_Function_Text(f), "");
  f.dwFileType = 4;
  f.dwFileSubtype = 3;
  EXPECT_EQ(File_Function_Text(f), "Truetype Font");
  f.dwFileType = 5;
  f.dwFileSubtype = 0xBEEF;
  EXPECT_EQ(File_Function_Text(f), "Virtual Defice Identifier = 0000BEEF");
  f.dwFileType = 7;
  EXPECT_EQ(File_Function_Text(f), "Static-link Library");
  f.dwFileType = 6;
  EXPECT_EQ(File_Function_Text(f), "");
}

TEST(VersionBlock, BlockWithoutARootValueHasNoFlagsOrFunction) {
  VersionSpec s = Spec();
  s.with_fixed = false;
  const TFileVersionInfo info = VersionInfoFromBlock(BuildVersionBlock(s));
  EXPECT_EQ(info.FileVersion, "1.9.0.0");
  EXPECT_EQ(info.FileFunction, "");
  EXPECT_FALSE(info.DebugBuild);
}

TEST(VersionBlock, TruncatedOrForeignBytesGiveEmptyFields) {
  auto bytes = BuildVersionBlock(Spec());
  bytes.resize(bytes.size() / 2);
  EXPECT_EQ(VersionInfoFromBlock(bytes).FileVersion, "");
  EXPECT_EQ(VersionInfoFromBlock({1, 2, 3}).FileVersion, "");
  EXPECT_EQ(VersionInfoFromBlock({}).FileVersion, "");
}

TEST(ReadVersionInfo, FilesThatAreNoProgramsKeepOnlyTheirTypeName) {
  test::TempDir dir;
  test::WriteFile(dir / "notes.txt", "hello");
  const auto info = Read_Version_Info((dir / "notes.txt").string(), [](const std::string&) {
    return std::optional<std::string>("Plain text document");
  });
  EXPECT_EQ(info.FileType, "Plain text document");
  EXPECT_EQ(info.FileVersion, "");
  auto rows = VersionGridRows(info);
  EXPECT_EQ(rows[3].first, "FileVersion     ");
  EXPECT_EQ(rows[16].second, "No");
  // This test program is an executable, but carries no version block.
  EXPECT_TRUE(IsExecutableProgram("/proc/self/exe"));
  EXPECT_FALSE(IsExecutableProgram((dir / "notes.txt").string()));
  EXPECT_EQ(Read_Version_Info("/proc/self/exe").FileVersion, "");
}

}  // namespace
}  // namespace vk
