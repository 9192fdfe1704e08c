#include "instant_refine.h"

#include <gtest/gtest.h>

#include <erfa.h>

#include <cmath>

#include "event_passes.h"
#include "support/synthetic_ephemeris.h"
#include "topocentric.h"
#include "timecalc/numeric.h"
#include "timecalc/input_checks.h"
#include "timecalc/sidereal.h"
#include "timecalc/time_scales.h"

namespace vk {
namespace {

using test::Synthetic;

constexpr double kHundredthSecond = 0.01 / 3600;  // hours
constexpr int kRow = 5000;

// At the north pole a body's altitude is its declination; at 10⁹ au the
// parallax vanishes. The declination of the rows around kRow follows a cubic
// in hours u from kRow, zero at u = 0.3721 (and at −5 and 6).
class InstantRefine : public ::testing::Test {
 protected:
  Synthetic& s = Synthetic::Get();
  const Site pole{90, 0, 0, {}};
  static double Cubic(double u) { return 0.01 * (u - 0.3721) * (u + 5) * (u - 6); }
  void SetUp() override {
    s.Clear(Sun);
    for (int k = kRow - 12; k <= kRow + 12; ++k) {
      tEphemerisRow& e = s.eph.at(Sun, k);
      e.delta = 1e9;
      e.diameter = 1800;
      e.dec = Cubic(k - kRow);
    }
  }
  InstantRefiner Refiner() const { return {s.eph, s.basic, pole, ComputeObserverConstants(90), Sun}; }
};

TEST_F(InstantRefine, InterpolatedAltitudeMeetsACubicExactly) {
  const InstantRefiner r = Refiner();
  for (const double u : {-2.7, -0.5, 0.0, 0.3721, 1.25, 3.9})
    EXPECT_NEAR(r.Value(Crossing::CentreAltitude, 0, kRow, u), Cubic(u), 1e-9) << "u = " << u;
  // Starts from a poor first guess on either side, as the hourly windows give.
  for (const double n0 : {0.0, 0.2, 0.5, 0.9}) {
    EXPECT_NEAR(r.Refine(Crossing::CentreAltitude, 0, kRow, n0), 0.3721, kHundredthSecond) << "from " << n0;
    // With the slope and the curvature of the hourly rows, as the passes give them.
    const double y1 = Cubic(-1), y2 = Cubic(0), y3 = Cubic(1);
    EXPECT_NEAR(r.Refine(Crossing::CentreAltitude, 0, kRow, n0, Quad_Slope(y1, y2, y3, n0), y1 - 2 * y2 + y3), 0.3721,
                kHundredthSecond)
        << "from " << n0;
  }
  // Another level: the crossing of 0.3° by the same cubic, found independently by bisection.
  double lo = -4.9, hi = -2.5;
  for (int i = 0; i < 200; ++i) (Cubic((lo + hi) / 2) > 0.3 ? hi : lo) = (lo + hi) / 2;
  EXPECT_NEAR(r.Refine(Crossing::CentreAltitude, 0.3, kRow, lo + 0.3), lo, kHundredthSecond);
}

TEST_F(InstantRefine, UpperLimbUsesTheInterpolatedDiameter) {
  // Diameter 1800" + 36" per hour: the upper limb touches the horizon where
  // Cubic(u) = h0 − (1800 + 36 u) / 7200, written as a zero at u = 0.3721.
  for (int k = kRow - 12; k <= kRow + 12; ++k) {
    const double u = k - kRow;
    tEphemerisRow& e = s.eph.at(Sun, k);
    e.diameter = 1800 + 36 * u;
    e.dec = Cubic(u) + kHorizonAltitude - e.diameter / 7200;
  }
  const InstantRefiner r = Refiner();
  EXPECT_NEAR(r.Refine(Crossing::UpperLimb, kHorizonAltitude, kRow, 0.6), 0.3721, kHundredthSecond);
  EXPECT_NEAR(r.Refine(Crossing::UpperLimb, kHorizonAltitude, kRow + 1, -0.4), 0.3721 - 1, kHundredthSecond);
}

TEST_F(InstantRefine, HourAngleCrossesZeroWhereApparentSiderealTimeMeetsTheRightAscension) {
  // A fixed right ascension: the transit is the instant whose apparent
  // sidereal time (ERFA's IAU 2006/2000A, UT1 = UTC) equals it.
  const double ra = 6.5;  // hours
  for (int k = kRow - 12; k <= kRow + 12; ++k) s.eph.at(Sun, k).ra = ra;
  const Site site{47.5, 7.5, 1, {}};
  const InstantRefiner r(s.eph, s.basic, site, ComputeObserverConstants(47.5), Sun);
  auto lst_hours = [&](double jd) {
    return Mod_Positive(eraGst06a(jd, 0, jd, TtMinusUtcSeconds(jd) / 86400) * kRadToHour + 7.5 / 15, 24);
  };
  // The hour angle in hours, in [−12, 12): its upward zero within the day
  // after kRow − 12 h, bracketed hour by hour, then bisected.
  auto ha = [&](double jd) { return Mod_Positive(lst_hours(jd) - ra + 12, 24) - 12; };
  double lo = test::RowJD(kRow) - 12.0 / 24, hi = lo + 1.0 / 24;
  while (!(ha(lo) < 0 && ha(hi) >= 0)) {
    lo = hi;
    hi += 1.0 / 24;
  }
  for (int i = 0; i < 100; ++i) {
    const double mid = (lo + hi) / 2;
    (ha(mid) < 0 ? lo : hi) = mid;
  }
  const double expected = (lo - test::RowJD(kRow)) * 24;
  EXPECT_NEAR(r.Refine(Crossing::HourAngle, 0, kRow, expected + 0.1), expected, kHundredthSecond);
}

// At a row the interpolated place is the row's place, and the altitude and
// hour angle are those of the basic values: the parallax, the site and the
// sidereal time follow the same rules.
TEST_F(InstantRefine, AtARowTheBasicValuesOfThatRow) {
  const Site site{-33.87, 151.21, 10, {}};
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  for (int k = kRow - 12; k <= kRow + 12; ++k) {
    tEphemerisRow& e = s.eph.at(Sun, k);
    e.ra = Mod_Positive(23.9 + 0.55 * (k - kRow), 24);  // the Moon's pace, across 24 h → 0 h
    e.dec = 18 - 0.2 * (k - kRow);
    e.delta = 0.0025 + 1e-6 * (k - kRow);
    e.diameter = 1900;
  }
  const InstantRefiner r(s.eph, s.basic, site, obs, Sun);
  for (int k = kRow - 3; k <= kRow + 3; ++k) {
    tBasicValues v{};
    const tEphemerisRow& e = s.eph.at(Sun, k);
    TopocentricPlace(e.jd, e.ra, e.dec, e.delta, MakeSiteAngles(site, obs), v);  // ra, dec, sin_par
    TopocentricFromPlace(GMST_Rad(e.jd) + s.basic.SiderealOffset(k, e.jd), std::sin(e.dec * kDegToRad),
                         std::cos(e.dec * kDegToRad), MakeSiteAngles(site, obs), v);
    EXPECT_NEAR(r.Value(Crossing::CentreAltitude, -6, k, 0), v.alt + 6, 1e-9) << "row " << k;
    EXPECT_NEAR(r.Value(Crossing::UpperLimb, kHorizonAltitude, k, 0), v.alt - kHorizonAltitude + 1900.0 / 7200, 1e-9);
    EXPECT_NEAR(r.Value(Crossing::HourAngle, 0, k, 0), std::sin(v.ha), 1e-9) << "row " << k;
  }
}

TEST_F(InstantRefine, KeepsTheFirstGuessWhenTheQuantityIsFlatOrTheRootFarAway) {
  for (int k = kRow - 12; k <= kRow + 12; ++k) s.eph.at(Sun, k).dec = 10;
  const InstantRefiner r = Refiner();
  EXPECT_EQ(r.Refine(Crossing::CentreAltitude, 0, kRow, 0.25), 0.25);  // no zero anywhere: flat at 10°
  for (int k = kRow - 12; k <= kRow + 12; ++k) s.eph.at(Sun, k).dec = 0.1 * (k - kRow) - 0.5;
  EXPECT_EQ(r.Refine(Crossing::CentreAltitude, 0, kRow, -0.5), -0.5);  // the zero lies 5.5 h away
}

// A grazing extreme: the altitude dips below the level for less than two
// hours, its two crossings on either side of one row. Each crossing lies in
// the hour whose rows change sign; the secant from the hourly first guess
// runs to the other one, which belongs to the next or the previous window.
TEST_F(InstantRefine, EachCrossingOfAGrazingDipStaysInItsOwnHour) {
  struct Dip {
    double down, up;  // hours from kRow of the two crossings
  } const dips[] = {{0.05, 1.02}, {0.3, 1.001}, {-0.02, 0.97}, {0.6, 1.3}};
  for (const Dip& d : dips) {
    auto alt = [&](double u) { return 0.1 * (u - d.down) * (u - d.up); };
    for (int k = kRow - 12; k <= kRow + 12; ++k) s.eph.at(Sun, k).dec = alt(k - kRow);
    const InstantRefiner r = Refiner();
    for (const double root : {d.down, d.up}) {
      // The window of the passes: its middle row is the one before the crossing.
      const int row = kRow + static_cast<int>(std::floor(root));
      const double y1 = alt(row - kRow - 1), y2 = alt(row - kRow), y3 = alt(row - kRow + 1);
      const double n0 = y2 / (y2 - y3);  // linear, as the twilights' first guess
      const std::optional<HourSpan> hour = HourWithSignChange(y1, y2, y3, n0);
      ASSERT_TRUE(hour) << "crossing at " << root;
      EXPECT_NEAR(row + r.Refine(Crossing::CentreAltitude, 0, row, n0, Quad_Slope(y1, y2, y3, n0), y1 - 2 * y2 + y3, hour),
                  kRow + root, kHundredthSecond)
          << "dip from " << d.down << " to " << d.up << " h, crossing at " << root << " h, first guess " << n0;
    }
  }
}

// A turn of the altitude across the level and back within one hour, the
// rows on either side on one side (a graze shorter than an hour): both
// crossings, or none where the turn stays on its side.
TEST_F(InstantRefine, BothCrossingsOfATurnWithinTheHour) {
  struct Case {
    double at, value, curve;  // the altitude: value + curve · (u − at)², u hours after kRow
    std::optional<double> half;  // the crossings at ± half from `at`; nothing: none
  } const cases[] = {
      {0.5, -0.01, 1, 0.1},  {0.3, -0.0004, 0.5, std::sqrt(0.0008)}, {0.8, 0.001, 1, {}},
      {0.5, 0.01, -1, 0.1},  {0.9, 0.0004, -2, std::sqrt(0.0002)},     {0.5, -1e-6, -1, {}},
  };
  for (const Case& c : cases) {
    for (int k = kRow - 12; k <= kRow + 12; ++k) s.eph.at(Sun, k).dec = c.value + c.curve * (k - kRow - c.at) * (k - kRow - c.at);
    const std::optional<HourSpan> both = Refiner().CrossingsAround(Crossing::CentreAltitude, 0, kRow, c.curve > 0);
    ASSERT_EQ(both.has_value(), c.half.has_value()) << "turn at " << c.at << " to " << c.value;
    if (both) {
      EXPECT_NEAR(both->from, c.at - *c.half, kHundredthSecond) << "turn at " << c.at << " to " << c.value;
      EXPECT_NEAR(both->to, c.at + *c.half, kHundredthSecond) << "turn at " << c.at << " to " << c.value;
    }
  }
}

TEST(HourWithSignChange, TheHourOfTheSignChangeThatHoldsTheGuess) {
  struct Case {
    double y1, y2, y3, n;
    std::optional<double> from;  // nothing: no such hour
  } const cases[] = {
      {-1, -0.5, 0.5, 0.5, 0},  {-1, 0.5, 1, -0.5, -1}, {1, 0, -1, 0, 0},          {1, 0, -1, -0.2, -1},
      {-1, -0.5, 0.5, -0.5, {}}, {1, 2, 3, 0.5, {}},     {-1, 0.5, -1, 0.5, 0}, {-1, 0.5, 1, 1.5, {}},
  };
  for (const Case& c : cases) {
    const std::optional<HourSpan> h = HourWithSignChange(c.y1, c.y2, c.y3, c.n);
    EXPECT_EQ(h.has_value(), c.from.has_value()) << c.y1 << " " << c.y2 << " " << c.y3 << " at " << c.n;
    if (h && c.from) {
      EXPECT_EQ(h->from, *c.from);
      EXPECT_EQ(h->to, *c.from + 1);
    }
  }
}

TEST_F(InstantRefine, WindowsAtTheEndsOfTheTableStayInside) {
  s.Clear(Sun);
  for (int k = 1; k <= kEphemerisRows; k += kEphemerisRows - 8)
    for (int j = 0; j < 8; ++j) {
      s.eph.at(Sun, k + j).delta = 1e9;
      s.eph.at(Sun, k + j).dec = 0.5 * j;  // 0 … 3.5° over the first and over the last eight rows
    }
  const InstantRefiner r = Refiner();
  EXPECT_NEAR(r.Value(Crossing::CentreAltitude, 0, 1, -0.5), -0.25, 1e-9);
  EXPECT_NEAR(r.Value(Crossing::CentreAltitude, 0, kEphemerisRows, 0.5), 3.75, 1e-9);
  EXPECT_NEAR(r.Value(Crossing::CentreAltitude, 0, kEphemerisRows - 7, 0), 0, 1e-9);
}


// A smoothly moving Sun at 47.5° N: both modes write the same lines with the
// same values; only the instants of twilights, rises, sets and transits move,
// and by less than the classic method's error.
TEST(InstantRefinePasses, SameLinesAndValuesOnlyTheInstantsMove) {
  Synthetic& s = Synthetic::Get();
  for (int b = 0; b < kBodyCount; ++b) s.Clear(b);
  s.site = Site{47.5, 7.5, 1.0, {}};
  for (int k = 1; k <= kEphemerisRows; ++k) {
    tEphemerisRow& e = s.eph.at(Sun, k);
    const double year = 2 * kPi * k / 8766.15;
    e.ra = Mod_Positive(18.7 + 24 * k / 8766.15, 24);
    e.dec = -23.44 * std::cos(year);
    e.delta = 1 - 0.0167 * std::cos(year);
    e.diameter = 1919 / e.delta;
    e.ecl_lon = Mod_Positive(280 + 360 * k / 8766.15, 360);
  }
  const ObserverConstants obs = ComputeObserverConstants(47.5);
  LogText classic, precise;
  ComputeBasicValues(s.eph, s.site, obs, Sun, s.basic, 1, kEphemerisRows, Interpolation::Classic);
  RunEventPasses(s.eph, s.basic, s.site, obs, Sun, classic, Interpolation::Classic);
  ComputeBasicValues(s.eph, s.site, obs, Sun, s.basic, 1, kEphemerisRows, Interpolation::Precise);
  RunEventPasses(s.eph, s.basic, s.site, obs, Sun, precise, Interpolation::Precise);
  const auto a = test::Lines(std::string(classic)), b = test::Lines(std::string(precise));
  ASSERT_EQ(a.size(), b.size());
  ASSERT_GT(a.size(), 30000u);
  int moved = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fa = test::Fields(a[i]), fb = test::Fields(b[i]);
    // A rise's diameter is of the row before its instant: precise instants
    // bracket the upper limb, classic ones the lower, so it may be the row before.
    if (fa[3] == "Aufgang" && fb[3] == "Aufgang") {
      ASSERT_NEAR(ParseFloat(fa[8]), ParseFloat(fb[8]), 0.11) << "line " << i + 1;
      fa[8] = fb[8];
    }
    ASSERT_EQ(std::vector<std::string>(fa.begin() + 2, fa.end()), std::vector<std::string>(fb.begin() + 2, fb.end()))
        << "line " << i + 1;
    const double dt = (ParseFloat(fb[0]) - ParseFloat(fa[0])) * 86400;
    const bool refined = fa[3] != "Erde in Sonnennähe" && fa[3] != "Erde in Sonnenferne" &&
                         fa[3].find("anfang") == std::string::npos;
    if (!refined) {
      ASSERT_EQ(fa[0], fb[0]) << a[i];
      continue;
    }
    ASSERT_LT(std::fabs(dt), 600) << a[i];
    // The local time moves with the UT instant.
    ASSERT_NEAR((ParseFloat(fb[1]) - ParseFloat(fa[1])) * 86400, dt, 1e-3) << a[i];
    moved += std::fabs(dt) > 0.01;
  }
  EXPECT_GT(moved, 28000);
}

}  // namespace
}  // namespace vk
