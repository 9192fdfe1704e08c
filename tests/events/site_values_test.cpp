// The site's altitudes and hour angles of the basic table against the
// topocentric place of every row: on the same side of every level the passes
// test (of the same sign), and the very value in every row the passes read
// around a crossing (one row before it to two after).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "events/almanac.h"
#include "compute.h"
#include "topocentric.h"
#include "support/workspace.h"

namespace vk {
namespace {

class SiteValues : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::HaveData()) GTEST_SKIP() << "no data in " << test::kBuildData << " (the build produces it)";
  }
};

// Computes the site values of `body` (in two blocks) and checks every row
// against its topocentric place, from the mean sidereal time (Classic) or
// the apparent one (Precise).
void CheckSiteValues(Almanac& a, const Site& site, int body, Interpolation mode) {
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  const SiteAngles angles = MakeSiteAngles(site, obs);
  ComputeSiteValues(a.ephemeris, site, obs, body, *a.basic, 1, kEphemerisRows / 2, mode);
  ComputeSiteValues(a.ephemeris, site, obs, body, *a.basic, kEphemerisRows / 2 + 1, kEphemerisRows, mode);
  // The reference: the topocentric place of every row, and its side of each level
  // (upper limb at -34′, twilights at -18°, -12°, -6° for the Sun).
  std::vector<double> alt(kEphemerisRows + 1);
  std::vector<unsigned> side(kEphemerisRows + 1);
  std::vector<double> sin_ha(kEphemerisRows + 1);
  std::vector<char> ha_sign(kEphemerisRows + 1);
  for (int k = 1; k <= kEphemerisRows; ++k) {
    const tEphemerisRow& e = a.ephemeris.at(body, k);
    tBasicValues v{};
    TopocentricPlace(e.jd, e.ra, e.dec, e.delta, angles, v);
    if (mode == Interpolation::Precise)
      TopocentricFromPlace(GMST_Rad(e.jd) + a.basic->SiderealOffset(k, e.jd), std::sin(e.dec * kDegToRad),
                           std::cos(e.dec * kDegToRad), angles, v);
    alt[k] = v.alt;
    // Precise instants read the upper limb's level as well.
    const double levels[] = {-34.0 / 60 + e.diameter / 7200, -18, -12, -6, -34.0 / 60 - e.diameter / 7200};
    const int count = body == Sun ? 4 : 1;
    for (int l = 0; l < count; ++l) side[k] |= (v.alt > levels[l] ? 1u : 0u) << l;
    if (mode == Interpolation::Precise) side[k] |= (v.alt > levels[4] ? 1u : 0u) << 4;
    ASSERT_EQ(a.basic->at(body, k).sin_ha > 0, v.sin_ha > 0) << "body " << body << " row " << k;
    ASSERT_EQ(a.basic->at(body, k).sin_ha < 0, v.sin_ha < 0) << "body " << body << " row " << k;
    ha_sign[k] = v.sin_ha > 0;
    sin_ha[k] = v.sin_ha;
    const double stored = a.basic->at(body, k).alt;
    for (int l = 0; l < 5; ++l) {
      if (l < count || (l == 4 && mode == Interpolation::Precise)) {
        ASSERT_EQ(stored > levels[l], v.alt > levels[l]) << "body " << body << " row " << k << " level " << l;
      }
    }
    ASSERT_EQ(stored <= levels[0], v.alt <= levels[0]) << "body " << body << " row " << k;
  }
  int exact = 0;
  for (int k = 1; k <= kEphemerisRows; ++k) {
    bool crossing = false, transit = false;
    for (int j = std::max(1, k - 1); j <= std::min(kEphemerisRows, k + 2); ++j) {
      crossing |= side[j] != side[k];
      transit |= ha_sign[j] != ha_sign[k];
      crossing |= k <= 3;  // the passes continue rows 1 … 3 back
      transit |= k <= 3;
    }
    if (transit) {
      ASSERT_EQ(a.basic->at(body, k).sin_ha, sin_ha[k]) << "body " << body << " row " << k << " near a transit";
    }
    if (!crossing) continue;
    ++exact;
    // Precise values come from the topocentric direction's vector, equal to rounding.
    if (mode == Interpolation::Classic)
      ASSERT_EQ(a.basic->at(body, k).alt, alt[k]) << "body " << body << " row " << k << " near a crossing";
    else
      ASSERT_NEAR(a.basic->at(body, k).alt, alt[k], 1e-10) << "body " << body << " row " << k << " near a crossing";
  }
  if (site.Site_nLat < 60) {
    EXPECT_GT(exact, 3000) << "body " << body;  // a rise and a set nearly every day
  }
}

TEST_F(SiteValues, AltitudesKeepTheirSideEverywhereAndTheirValueNearCrossings) {
  auto a = std::make_unique<Almanac>();
  LoadAndPrepare(a->ephemeris, *a->basic, test::kBuildData, 2);
  const Site sites[] = {{47.5, 7.5, 1, {}}, {-33.87, 151.21, 10, {}}, {69.65, 18.96, 1, {}}, {0, 0, 0, {}},
                        {89.9, -120, -8, {}}};
  for (const Interpolation mode : {Interpolation::Classic, Interpolation::Precise})
    for (const Site& site : sites)
      for (int body = 0; body < kBodyCount; ++body) {
        SCOPED_TRACE(std::to_string(site.Site_nLat) + (mode == Interpolation::Precise ? " precise" : " classic"));
        CheckSiteValues(*a, site, body, mode);
        if (HasFatalFailure()) return;
      }
}

// The sidereal time kept from the Sun's rows serves only rows of the same
// instant: rows of another body at other instants have their own.
TEST_F(SiteValues, RowsAtOtherInstantsThanTheSunsHaveTheirOwnSiderealTime) {
  auto a = std::make_unique<Almanac>();
  LoadEphemeris(a->ephemeris, test::kBuildData);
  for (int k = 1; k <= kEphemerisRows; ++k) a->ephemeris.at(Moon, k).jd += 0.25 / 24;
  for (int body : {int{Sun}, int{Moon}}) PrepareBasicValues(a->ephemeris, body, *a->basic);
  for (const Interpolation mode : {Interpolation::Classic, Interpolation::Precise})
    CheckSiteValues(*a, Site{47.5, 7.5, 1, {}}, Moon, mode);
}

}  // namespace
}  // namespace vk
