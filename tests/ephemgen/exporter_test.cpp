// Short exporter runs: the same bytes for any number of threads, and the same
// beginnings as the full files that the build made.
#include "exporter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace vk::ephemgen {
namespace {

using vk::test::ReadFile;
using vk::test::TempDir;

constexpr int kRows = 300;
constexpr int kDays = 40;

tExportOptions ShortRun(const std::filesystem::path& out, int threads) {
  tExportOptions o;
  o.extract = VK_DE405_EXTRACT;
  o.constellations = VK_CONSTELLATION_TABLE;
  o.out_dir = out;
  o.threads = threads;
  o.rows = kRows;
  o.phase_days = kDays;
  return o;
}

// The first `size` bytes of a file (fewer where it ends).
std::string Prefix(const std::filesystem::path& path, std::size_t size) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

TEST(Exporter, SameBytesForAnyNumberOfThreads) {
  TempDir one, three;
  WriteExports(ShortRun(one.path(), 1));
  WriteExports(ShortRun(three.path(), 3));
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string a = ReadFile(one / ExportFileName(body));
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), kRows);
    EXPECT_TRUE(a == ReadFile(three / ExportFileName(body))) << ExportFileName(body) << " differs";
  }
  const std::string phase = ReadFile(one / PhaseFileName(kDocumentedPeriod));
  EXPECT_EQ(std::count(phase.begin(), phase.end(), '\n'), kDays);
  EXPECT_TRUE(phase == ReadFile(three / PhaseFileName(kDocumentedPeriod)));
}

TEST(Exporter, ShortRunIsTheBeginningOfTheBuildsFiles) {
  TempDir out;
  WriteExports(ShortRun(out.path(), 2));
  const std::filesystem::path data = VK_DATA_DIR;
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string short_run = ReadFile(out / ExportFileName(body));
    ASSERT_TRUE(std::filesystem::exists(data / ExportFileName(body)))
        << (data / ExportFileName(body)) << " missing: build the vk_data target";
    EXPECT_TRUE(Prefix(data / ExportFileName(body), short_run.size()) == short_run) << ExportFileName(body);
  }
  const std::string phase = ReadFile(out / PhaseFileName(kDocumentedPeriod));
  EXPECT_TRUE(Prefix(data / PhaseFileName(kDocumentedPeriod), phase.size()) == phase);
}

// The tables made directly hold the bytes the import makes of the text: the
// beginnings of the build's tables; the progress rises to 1.
TEST(Exporter, BinaryTablesAreTheImportsBytes) {
  TempDir out;
  tExportOptions o = ShortRun(out.path(), 2);
  o.kind = ExportKind::Binary;
  std::vector<double> shares;
  o.fraction = [&](double f) { shares.push_back(f); };
  WriteExports(o);
  const std::filesystem::path data = VK_DATA_DIR;
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string made = ReadFile(out / BinaryFileName(body));
    EXPECT_EQ(made.size(), kRows * sizeof(tEphemerisData));
    EXPECT_TRUE(Prefix(data / BinaryFileName(body), made.size()) == made) << BinaryFileName(body);
  }
  EXPECT_FALSE(std::filesystem::exists(out / "_res"));
  ASSERT_FALSE(shares.empty());
  EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
  EXPECT_DOUBLE_EQ(shares.back(), 1.0);
}

// Another period: its own names, rows from its own first day, and the
// phase table's days; a stopped run and an unwritable folder leave nothing.
TEST(Exporter, OtherPeriodStoppedAndUnwritable) {
  const tPeriod sixties{1962, 1972};
  TempDir out;
  tExportOptions o = ShortRun(out.path(), 2);
  o.kind = ExportKind::Binary;
  o.period = sixties;
  WriteExports(o);
  const std::string moon = ReadFile(out / BinaryFileName(Moon, sixties));
  ASSERT_EQ(moon.size(), kRows * sizeof(tEphemerisData));
  tEphemerisData first{}, last{};
  std::memcpy(&first, moon.data(), sizeof first);
  std::memcpy(&last, moon.data() + moon.size() - sizeof last, sizeof last);
  EXPECT_EQ(first.jd, 2437665.5);  // 1962-01-01 00:00 UT
  EXPECT_NEAR(last.jd, 2437665.5 + (kRows - 1) / 24.0, 1e-9);
  EXPECT_TRUE(ReadFile(out / PhaseFileName(sixties)).starts_with("2437665.5 "));

  TempDir stopped;
  std::stop_source source;
  o.out_dir = stopped.path();
  o.stop = source.get_token();
  o.fraction = [&](double f) {
    if (f > 0.3) source.request_stop();
  };
  EXPECT_THROW(WriteExports(o), Cancelled);
  EXPECT_TRUE(std::filesystem::is_empty(stopped.path()));

  // A folder that cannot be made: a file stands where it would be.
  TempDir blocked;
  vk::test::WriteFile(blocked / "cache", "x");
  o.out_dir = blocked / "cache" / "tables";
  o.stop = {};
  o.fraction = {};
  try {
    WriteExports(o);
    ADD_FAILURE() << "no Error";
  } catch (const Error& e) {
    EXPECT_EQ(e.file(), (blocked / "cache" / "tables").string());
    EXPECT_STREQ(e.what(), "Not a directory");
  }
  EXPECT_EQ(ReadFile(blocked / "cache"), "x");
}

}  // namespace
}  // namespace vk::ephemgen
