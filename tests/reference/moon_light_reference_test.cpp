// The Moon's illuminated fraction and age at local noon against the committed
// table of an independent ephemeris library (make_moon_reference.py), and the
// fraction's geometry on its own.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "events/moon_light.h"
#include "events/recompute.h"
#include "reference_table.h"
#include "support/workspace.h"
#include "timecalc/calendar.h"
#include "timecalc/time_zones.h"

namespace vk {
namespace {

constexpr double kFractionTolerancePct = 0.1;
constexpr double kAgeToleranceDays = 0.01;
constexpr double kNoonToleranceDays = 1.0 / 86400;

TEST(MoonLight, FractionFromTheGeometry) {
  constexpr double pi = std::numbers::pi;
  struct Case {
    const char* what;
    double elongation, sun, body, fraction;
  };
  const Case cases[] = {
      {"conjunction, body nearer", 0, 1, 0.0026, 0},
      {"opposition", pi, 1, 0.0026, 1},
      {"equilateral: phase angle 60", pi / 3, 1, 1, 0.75},
      {"far beyond the Sun at quadrature: nearly full", pi / 2, 1, 1e9, 1},
      // At elongation 90 the Moon lies a little beyond the quarter: the phase
      // angle is 90 - atan(d / R) degrees.
      {"quadrature of the Moon", pi / 2, 1, 0.0026, (1 + std::cos(pi / 2 - std::atan(0.0026))) / 2},
      {"outer planet at opposition", pi, 1, 4.2, 1},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(IlluminatedFraction(c.elongation, c.sun, c.body), c.fraction, 1e-12) << c.what;
  EXPECT_NEAR(AngularSeparation(23.9, 0, 0.1, 0), 3 * pi / 180, 1e-12) << "across 0 h";
  EXPECT_NEAR(AngularSeparation(5, 89.9, 17, 89.9), 0.2 * pi / 180, 1e-12) << "over the pole";
  EXPECT_EQ(AngularSeparation(3, 10, 3, 10), 0.0);
}

struct MoonRow {
  double lat, lon;
  int zone;
  std::string date;
  double noon_ut, fraction_pct;
  std::optional<double> age;
};

std::vector<MoonRow> ReadMoonRows() {
  std::istringstream in(test::ReadFile(VK_MOON_LIGHT_TABLE));
  std::vector<MoonRow> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    MoonRow r;
    std::string age, phase;
    f >> r.lat >> r.lon >> r.zone >> r.date >> r.noon_ut >> r.fraction_pct >> age >> phase;
    if (!f) throw std::runtime_error("bad row: " + line);
    if (age != "-") r.age = std::stod(age);
    rows.push_back(r);
  }
  return rows;
}

double DayOf(const std::string& date) {
  return CalendarToJD(std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)), std::stoi(date.substr(8, 2)), 0,
                      0, 0);
}

TEST(MoonLight, LocalNoonAgainstTheReference) {
  const std::vector<MoonRow> rows = ReadMoonRows();
  ASSERT_GE(rows.size(), 36u);

  static Almanac a;  // large: not on the stack
  test::Workspace ws;
  a.site = Site{rows[0].lat, rows[0].lon, TimeZones.at(static_cast<std::size_t>(rows[0].zone)).offset_hours, {}};
  RunRecomputationChain(a, ws.dir.path(), nullptr);
  // The new Moons of the table as the other sites' days take them.
  std::vector<double> new_moons;
  for (int n = 1; n <= a.events.Event_Count; ++n)
    if (a.events.Event_Tab[static_cast<std::size_t>(n)].event == "Neumond")
      new_moons.push_back(a.events.Event_Tab[static_cast<std::size_t>(n)].jd_ut);
  std::sort(new_moons.begin(), new_moons.end());
  ASSERT_GE(new_moons.size(), 120u);

  double worst_fraction = 0, worst_age = 0;
  for (const MoonRow& r : rows) {
    SCOPED_TRACE(r.date + " at " + std::to_string(r.lat));
    const Site site{r.lat, r.lon, TimeZones.at(static_cast<std::size_t>(r.zone)).offset_hours, {}};
    const double day = DayOf(r.date);
    EXPECT_NEAR(LocalNoonUT(day, site), r.noon_ut, kNoonToleranceDays);
    const bool own_site = r.lat == a.site.Site_nLat && r.lon == a.site.Site_eLon;
    const std::optional<tMoonLight> at_noon = MoonLightAt(a.ephemeris, new_moons, r.noon_ut);
    ASSERT_TRUE(at_noon);
    const tMoonLight* stored = a.events.moon_days.on(day);
    ASSERT_TRUE(stored);
    const tMoonLight light = own_site ? *stored : *at_noon;
    EXPECT_NEAR(light.fraction * 100, r.fraction_pct, kFractionTolerancePct);
    worst_fraction = std::max(worst_fraction, std::abs(light.fraction * 100 - r.fraction_pct));
    ASSERT_EQ(light.age_days.has_value(), r.age.has_value());
    if (r.age) {
      EXPECT_NEAR(*light.age_days, *r.age, kAgeToleranceDays);
      worst_age = std::max(worst_age, std::abs(*light.age_days - *r.age));
    }
  }
  std::printf("Moon's light at %zu noons: largest |error| %.4f pp, %.5f days\n", rows.size(), worst_fraction,
              worst_age);
  EXPECT_EQ(a.events.moon_days.on(DayOf("2021-12-31")), nullptr) << "before the period";
  EXPECT_EQ(a.events.moon_days.on(DayOf("2032-01-01")), nullptr) << "after the period";
}

}  // namespace
}  // namespace vk
