#include "events/moon_light.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "timecalc/numeric.h"

namespace vk {

namespace {

struct Place {
  double ra_h, dec_deg, distance_au;
};

// The body's row at `jd_ut` interpolated linearly between the hourly rows
// around it (right ascension across 24 h taken the short way). Empty
// outside the rows held.
std::optional<Place> PlaceAt(const EphemerisStore& eph, int body, double jd_ut) {
  const int rows = eph.rows();
  if (rows < 2) return std::nullopt;
  const double first = eph.at(body, 1).jd;
  const double x = (jd_ut - first) * 24.0;
  if (!(x >= 0.0) || x > rows - 1) return std::nullopt;
  const int row = std::min(rows - 1, static_cast<int>(std::floor(x)) + 1);
  const double f = x - (row - 1);
  const tEphemerisRow& a = eph.at(body, row);
  const tEphemerisRow& b = eph.at(body, row + 1);
  double dra = b.ra - a.ra;
  if (dra > 12) dra -= 24;
  if (dra < -12) dra += 24;
  return Place{a.ra + f * dra, a.dec + f * (b.dec - a.dec), a.delta + f * (b.delta - a.delta)};
}

}  // namespace

double AngularSeparation(double ra1_h, double dec1_deg, double ra2_h, double dec2_deg) {
  const double d1 = dec1_deg * kDegToRad, d2 = dec2_deg * kDegToRad;
  const double dra = (ra1_h - ra2_h) * 15.0 * kDegToRad;
  // The haversine form keeps small angles exact.
  const double h = std::pow(std::sin((d1 - d2) / 2), 2) + std::cos(d1) * std::cos(d2) * std::pow(std::sin(dra / 2), 2);
  return 2.0 * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

double IlluminatedFraction(double elongation_rad, double sun_distance, double body_distance) {
  const double i = std::atan2(sun_distance * std::sin(elongation_rad),
                              body_distance - sun_distance * std::cos(elongation_rad));
  return (1.0 + std::cos(i)) / 2.0;
}

std::optional<tMoonLight> MoonLightAt(const EphemerisStore& eph, std::span<const double> new_moons, double jd_ut) {
  const auto sun = PlaceAt(eph, Sun, jd_ut);
  const auto moon = PlaceAt(eph, Moon, jd_ut);
  if (!sun || !moon) return std::nullopt;
  tMoonLight light;
  light.fraction = IlluminatedFraction(AngularSeparation(sun->ra_h, sun->dec_deg, moon->ra_h, moon->dec_deg),
                                       sun->distance_au, moon->distance_au);
  const auto after = std::upper_bound(new_moons.begin(), new_moons.end(), jd_ut);
  if (after != new_moons.begin()) light.age_days = jd_ut - *(after - 1);
  return light;
}

std::vector<double> NewMoonsOf(const EphemerisStore& eph, std::span<const double> syzygies) {
  std::vector<double> out;
  for (const double jd : syzygies) {
    const auto sun = PlaceAt(eph, Sun, jd);
    const auto moon = PlaceAt(eph, Moon, jd);
    if (sun && moon && AngularSeparation(sun->ra_h, sun->dec_deg, moon->ra_h, moon->dec_deg) < std::numbers::pi / 2)
      out.push_back(jd);
  }
  std::sort(out.begin(), out.end());
  return out;
}

double LocalNoonUT(double day_jd, const Site& site) {
  const double noon = day_jd + 0.5;
  // The offset in force near the noon; a second look catches a switch between.
  double ut = noon - site.Site_TZ_Hours / 24.0;
  for (int k = 0; k < 2; ++k) ut = noon - (LocalJD(ut, site) - ut);
  return ut;
}

const tMoonLight* tMoonDays::on(double day_jd) const {
  const double k = std::round(day_jd - first_day);
  if (!(k >= 0) || k >= static_cast<double>(days.size())) return nullptr;
  const auto& d = days[static_cast<std::size_t>(k)];
  return d ? &*d : nullptr;
}

tMoonDays ComputeMoonDays(const EphemerisStore& eph, std::span<const double> syzygies, const Site& site) {
  tMoonDays out;
  const std::vector<double> new_moons = NewMoonsOf(eph, syzygies);
  out.first_day = eph.period().first_jd();
  const int days = eph.period().days();
  out.days.reserve(static_cast<std::size_t>(days));
  for (int k = 0; k < days; ++k) out.days.push_back(MoonLightAt(eph, new_moons, LocalNoonUT(out.first_day + k, site)));
  return out;
}

}  // namespace vk
