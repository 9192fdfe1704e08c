// TT − UTC over the century against published ΔT (TT − UT1) values, and the
// seams of the model and the leap-second table.
#include "timecalc/time_scales.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vk {
namespace {

// Published ΔT at the start of the year (IERS/USNO, Astronomical Almanac
// table "Delta T"), and how close TT − UTC must come: before 1972 the model's
// own fit; from 1972 on the difference is UT1 − UTC, within 0.9 s.
struct tPublished {
  const char* what;
  double jd;          // 00:00 UTC of 1 January
  double delta_t;     // published, seconds
  double tolerance;   // seconds
};
constexpr tPublished kPublished[] = {
    {"1960", 2436934.5, 33.15, 0.2},
    {"1965", 2438761.5, 35.73, 0.2},
    {"1972", 2441317.5, 42.23, 0.9},
    {"1990", 2447892.5, 56.86, 0.9},
    {"2020", 2458849.5, 69.36, 0.9},
};

TEST(TimeScales, PublishedDeltaT) {
  for (const auto& p : kPublished)
    EXPECT_NEAR(TtMinusUtcSeconds(p.jd), p.delta_t, p.tolerance) << p.what;
}

// From 1972 the table's integral steps: TAI − UTC + 32.184 s, held after the last.
struct tStep {
  const char* what;
  double jd;
  double tt_minus_utc;
};
constexpr tStep kSteps[] = {
    {"1972-01-01 00:00", 2441317.5, 42.184},
    {"1972-06-30 23:00", 2441499.5 - 1.0 / 24, 42.184},
    {"1972-07-01 00:00", 2441499.5, 43.184},
    {"2016-12-31 23:00", 2457754.5 - 1.0 / 24, 68.184},
    {"2017-01-01 00:00", 2457754.5, 69.184},
    {"2059-12-31 23:00", 2473459.5 - 1.0 / 24, 69.184},
};

TEST(TimeScales, LeapSecondSteps) {
  for (const auto& s : kSteps) EXPECT_DOUBLE_EQ(TtMinusUtcSeconds(s.jd), s.tt_minus_utc) << s.what;
}

// The model runs smoothly through 1961 (its two polynomials meet) and meets
// the table at 1972 within 0.1 s; no hour jumps by more than that.
TEST(TimeScales, ModelSeams) {
  EXPECT_NEAR(DeltaTModelSeconds(1961.0 - 1e-9), DeltaTModelSeconds(1961.0), 0.05);
  EXPECT_NEAR(TtMinusUtcSeconds(2441317.5 - 1.0 / 24), TtMinusUtcSeconds(2441317.5), 0.1);
  for (double jd = 2436934.5; jd < 2441317.5; jd += 1.0 / 24)
    ASSERT_LT(std::abs(TtMinusUtcSeconds(jd + 1.0 / 24) - TtMinusUtcSeconds(jd)), 0.1) << jd;
}

}  // namespace
}  // namespace vk
