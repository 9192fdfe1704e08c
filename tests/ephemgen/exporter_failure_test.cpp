// The exporter on bad input: a clear message naming the file and the instant,
// a non-zero exit, and no file under a final name changed.
#include "exporter.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"
#include "extract_files.h"
#include "support/temp_dir.h"
#include "base/error.h"

namespace vk::ephemgen {
namespace {

using vk::test::ReadFile;
using vk::test::TempDir;
using vk::test::WriteFile;

const std::string kExtract = VK_DE405_EXTRACT;
const std::string kFixtureExtract = std::string(VK_EPHEMGEN_FIXTURES) + "/de405_fixture_dates.bin";

// Every file below `dir`, relative names, sorted.
std::vector<std::string> FilesBelow(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
    if (e.is_regular_file()) names.push_back(std::filesystem::relative(e.path(), dir).string());
  std::sort(names.begin(), names.end());
  return names;
}

// Old files under every final name, to see that a failed run keeps them.
void PlantOldFiles(const TempDir& out) {
  for (int body = 0; body < kBodyCount; ++body) WriteFile(out / ExportFileName(body), "old\n");
  WriteFile(out / PhaseFileName(kDocumentedPeriod), "old\n");
}

void ExpectOldFilesOnly(const TempDir& out) {
  std::vector<std::string> expected;
  for (int body = 0; body < kBodyCount; ++body) {
    expected.push_back(ExportFileName(body));
    EXPECT_EQ(ReadFile(out / ExportFileName(body)), "old\n") << ExportFileName(body) << " was changed";
  }
  expected.push_back(PhaseFileName(kDocumentedPeriod));
  EXPECT_EQ(ReadFile(out / PhaseFileName(kDocumentedPeriod)), "old\n");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesBelow(out.path()), expected) << "temporary files were left behind";
}

Error ExportError(const tExportOptions& options) {
  try {
    WriteExports(options);
  } catch (const Error& e) {
    return e;
  }
  ADD_FAILURE() << "the export did not fail";
  return Error("");
}

tExportOptions Options(const std::filesystem::path& extract, const std::filesystem::path& out) {
  tExportOptions o;
  o.extract = extract;
  o.constellations = VK_CONSTELLATION_TABLE;
  o.out_dir = out;
  o.threads = 2;
  return o;
}

TEST(ExporterFailure, MissingExtract) {
  TempDir out;
  PlantOldFiles(out);
  const Error e = ExportError(Options(out / "missing.bin", out.path()));
  EXPECT_STREQ(e.what(), "File not found");
  EXPECT_EQ(e.file(), (out / "missing.bin").string());
  ExpectOldFilesOnly(out);
}

TEST(ExporterFailure, TruncatedExtract) {
  TempDir out;
  PlantOldFiles(out);
  const std::string bytes = ReadFile(kExtract);
  WriteFile(out / "short.bin", bytes.substr(0, 500000));
  const Error e = ExportError(Options(out / "short.bin", out.path()));
  EXPECT_EQ(e.describe(), (out / "short.bin").string() + ": Truncated DE405 extract: 500000 bytes, 7479996 expected");
  std::filesystem::remove(out / "short.bin");
  ExpectOldFilesOnly(out);
}

TEST(ExporterFailure, ExtractForOtherYears) {
  TempDir out;
  PlantOldFiles(out);
  const Error e = ExportError(Options(kFixtureExtract, out.path()));
  EXPECT_EQ(e.file(), kFixtureExtract);
  const std::string text = e.what();
  EXPECT_EQ(text.rfind("row 2022-01-01 00:00 UT: No DE405 record for TDB 2022-01-01 00:01:09.184", 0), 0u) << text;
  ExpectOldFilesOnly(out);
}

TEST(ExporterFailure, ExtractEndingBeforeThePeriodEnds) {
  TempDir out;
  PlantOldFiles(out);
  // 807 records reach TDB 2030-08-23 00:00 (MJD 62736): the row of 00:00 UT, at TDB
  // 00:01:09, is the first beyond them.
  const TempDir src;
  WriteFile(src / "early.bin", test::FirstRecords(ReadFile(kExtract), 807));
  const Error e = ExportError(Options(src / "early.bin", out.path()));
  EXPECT_EQ(e.file(), (src / "early.bin").string());
  const std::string text = e.what();
  EXPECT_EQ(text.rfind("row 2030-08-23 00:00 UT: No DE405 record for TDB 2030-08-23 00:01:09.184", 0), 0u) << text;
  ExpectOldFilesOnly(out);
}

TEST(ExporterFailure, MissingConstellationTable) {
  TempDir out;
  tExportOptions o = Options(kExtract, out.path());
  o.constellations = out / "none.dat";
  const Error e = ExportError(o);
  EXPECT_EQ(e.describe(), (out / "none.dat").string() + ": File not found");
  EXPECT_TRUE(FilesBelow(out.path()).empty());
}

// The program itself: the message on stderr and the exit status.
TEST(ExporterFailure, ProgramExitStatusAndMessage) {
  TempDir out;
  const std::string err = (out / "stderr.txt").string();
  const std::string missing = (out / "missing.bin").string();
  int status = std::system((std::string(VK_EPHEMGEN_EXE) + " --quiet --extract '" + missing + "' --out '" +
                            out.path().string() + "' 2>'" + err + "'")
                               .c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadFile(err), "ephemgen: " + missing + ": File not found\n");

  status = std::system((std::string(VK_EPHEMGEN_EXE) + " --threads 0 2>'" + err + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_NE(ReadFile(err).find("--threads wants a number from 1 to 64, not '0'"), std::string::npos);
  std::filesystem::remove(err);
  EXPECT_TRUE(FilesBelow(out.path()).empty());
}

}  // namespace
}  // namespace vk::ephemgen
