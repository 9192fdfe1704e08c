// Event instants on days of other periods (1965, 1990, 2045, 2059) at the
// Alps and at Sydney, each period's tables made as the program makes them,
// against PyEphem aligned to the program's TT − UTC.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "events/recompute.h"
#include "period_tables.h"
#include "reference_check.h"
#include "reference_table.h"
#include "support/temp_dir.h"
#include "timecalc/calendar.h"
#include "timecalc/time_zones.h"

namespace vk {
namespace {

const std::filesystem::path kData = VK_DATA_DIR;

TEST(ReferenceCentury, SunWithinHalfASecondMoonWithinASecond) {
  const std::vector<test::ReferenceRow> rows = test::ParseReferenceTable(test::ReadFile(VK_REFERENCE_CENTURY));
  ASSERT_GE(rows.size(), 150u);
  const tDataSpan span = ephemgen::DataSpanOfFolder(kData);
  ASSERT_EQ(span, (tDataSpan{1960, 2060})) << "the build copies the coefficients into " << kData;
  // By period, then by site.
  std::map<int, std::map<std::pair<double, double>, std::vector<const test::ReferenceRow *>>> by_period;
  std::map<int, int> zone_of;
  for (const test::ReferenceRow &r : rows) {
    const tPeriod p = PeriodOfDay(std::floor(r.ut - 0.5) + 0.5, span);
    by_period[p.first_year][{r.lat, r.lon}].push_back(&r);
    // The bounds: 0.5 s for the Sun, 1 s for the Moon (both sides on
    // one TT − UTC).
    EXPECT_LE(r.tol_precise, r.body == Sun ? 0.5 : 1.0) << "line " << r.line;
  }
  ASSERT_EQ(by_period.size(), 4u);

  test::TempDir cache, logs;
  static Almanac a;  // large: not on the stack
  for (const auto &[first_year, sites] : by_period) {
    const tPeriod period = PeriodOfDay(CalendarToJD(first_year, 6, 1, 0, 0, 0), span);
    const std::filesystem::path dir = ephemgen::PeriodTablesDir(kData, cache.path(), period);
    for (const auto &[site, site_rows] : sites) {
      const int zone = site_rows.front()->zone;
      a.site = Site{site.first, site.second, TimeZones.at(static_cast<std::size_t>(zone)).offset_hours, {}};
      a.interpolation = Interpolation::Precise;
      a.period = period;
      RunRecomputationChain(a, dir, nullptr, logs.path());
      ASSERT_EQ(a.ephemeris.period(), period);
      std::printf("%s at %.2f %.2f, |error| in s (rows, median, largest):\n", period.tag().c_str(), site.first,
                  site.second);
      for (auto &[kind, e] : CheckRows(a, site_rows, true)) {
        std::sort(e.begin(), e.end());
        std::printf("  %-30s %3zu %6.2f %6.2f\n", kind.c_str(), e.size(), e[e.size() / 2], e.back());
      }
    }
  }
}

}  // namespace
}  // namespace vk
