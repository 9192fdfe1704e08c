// Short exporter runs: the same bytes for any number of threads, and the same
// beginnings as the full files that the build made.
#include "exporter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ephemeris/ephemeris_data.h"
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
  const std::string phase = ReadFile(one / std::string(kPhaseFileName));
  EXPECT_EQ(std::count(phase.begin(), phase.end(), '\n'), kDays);
  EXPECT_TRUE(phase == ReadFile(three / std::string(kPhaseFileName)));
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
  const std::string phase = ReadFile(out / std::string(kPhaseFileName));
  EXPECT_TRUE(Prefix(data / std::string(kPhaseFileName), phase.size()) == phase);
}

}  // namespace
}  // namespace vk::ephemgen
