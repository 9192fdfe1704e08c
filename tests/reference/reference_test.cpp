// Event instants of the whole chain on the shipped data against the reference
// table of an independent ephemeris library, in both interpolation modes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <tuple>

#include "timecalc/time_zones.h"
#include "events/recompute.h"
#include "reference_check.h"
#include "reference_table.h"
#include "support/temp_dir.h"

namespace vk {

// The mode's name in the test's messages.
void PrintTo(Interpolation mode, std::ostream* out) { *out << (mode == Interpolation::Precise ? "precise" : "classic"); }

namespace {

using test::ParseReferenceTable;
using test::ReferenceRow;

const std::filesystem::path kData = VK_DATA_DIR;

// A folder that sees the shipped files and takes its own event log.
struct Workspace {
  test::TempDir dir;
  Workspace() {
    for (int b = 0; b < kBodyCount; ++b)
      std::filesystem::create_symlink(std::filesystem::absolute(kData / BinaryFileName(b)), dir / BinaryFileName(b));
    std::filesystem::create_symlink(std::filesystem::absolute(kData / kPhaseFileName), dir / kPhaseFileName);
  }
};

std::string ErrorOf(const std::string& text) {
  try {
    ParseReferenceTable(text);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ReferenceTable, BadRowsFailWithTheirLineNumber) {
  const std::string head = "# comment\n47.5\t7.5\t16\tSonne\tAufgang\t2459601.79\t2\t15\t1\t2022-01-22\n";
  EXPECT_EQ(ErrorOf(head), "(no error)");
  EXPECT_EQ(ErrorOf(head + "47.5\t7.5\t16\tPluto\tAufgang\t2459601.79\t2\t15\t1\tx\n"),
            "line 3: unknown body 'Pluto'");
  EXPECT_EQ(ErrorOf(head + "\n47.5\t7.5\t16\tMond\tBlutmond\t2459601.79\t2\t15\t-\tx\r\n"),
            "line 4: unknown event 'Blutmond'");
  EXPECT_EQ(ErrorOf(head + "47.5\t7.5\t16\tMond\tAufgang\t2459601.79\t2\t15\t-\n"), "line 3: 9 columns, not 10");
  EXPECT_EQ(ErrorOf(head + "47.5\t7,5\t16\tMond\tAufgang\t2459601.79\t2\t15\t-\tx\n"),
            "line 3: '7,5' is not a valid floating point value");
}

struct SiteKey {
  double lat, lon;
  int zone;
  auto operator<=>(const SiteKey&) const = default;
};

class Reference : public ::testing::TestWithParam<Interpolation> {};

// Runs the chain at every site of the table `path` in the test's mode and
// checks each row; at least `min_rows` rows at `min_sites` sites.
void CheckTable(const char* path, std::size_t min_rows, std::size_t min_sites, Interpolation mode,
                bool light = false) {
  for (int b = 0; b < kBodyCount; ++b)
    ASSERT_TRUE(std::filesystem::exists(kData / BinaryFileName(b))) << "the build makes the data in " << kData;
  const std::string text = test::ReadFile(path);
  ASSERT_FALSE(text.empty()) << path;
  const std::vector<ReferenceRow> rows = ParseReferenceTable(text);
  ASSERT_GE(rows.size(), min_rows);

  const bool precise = mode == Interpolation::Precise;
  std::map<SiteKey, std::vector<const ReferenceRow*>> by_site;
  for (const ReferenceRow& r : rows) by_site[{r.lat, r.lon, r.zone}].push_back(&r);
  ASSERT_GE(by_site.size(), min_sites);

  static Almanac a;  // about 300 MB: not on the stack
  Workspace ws;
  for (const auto& [site, site_rows] : by_site) {
    a.site = Site{site.lat, site.lon, TimeZones.at(static_cast<std::size_t>(site.zone)).offset_hours, {}};
    a.interpolation = mode;
    a.photo_light = light;
    RunRecomputationChain(a, ws.dir.path(), nullptr);
    std::map<std::string, std::vector<double>> errors = CheckRows(a, site_rows, precise);
    std::printf("%s instants at %.2f %.2f, |error| in s (rows, median, largest):\n",
                precise ? "precise" : "classic", site.lat, site.lon);
    for (auto& [kind, e] : errors) {
      std::sort(e.begin(), e.end());
      std::printf("  %-45s %3zu %8.2f %8.2f\n", kind.c_str(), e.size(), e[e.size() / 2], e.back());
    }
  }
}

TEST_P(Reference, EveryRowWithinItsTolerance) { CheckTable(VK_REFERENCE_TABLE, 300, 3, GetParam()); }

// The golden and blue hour's bounds, the Sun's centre at -4° and +6°, precise instants.
TEST(Reference, GoldenAndBlueHourWithinTheirTolerance) {
  CheckTable(VK_LIGHT_TABLE, 100, 4, Interpolation::Precise, /*light=*/true);
}

INSTANTIATE_TEST_SUITE_P(Modes, Reference, ::testing::Values(Interpolation::Classic, Interpolation::Precise),
                         [](const auto& info) {
                           return std::string(info.param == Interpolation::Precise ? "Precise" : "Classic");
                         });

}  // namespace
}  // namespace vk
