// The Moon's illuminated fraction and age (days since the last new Moon) at
// local noon of each day of a period, from the hourly ephemeris.
#pragma once
#include <optional>
#include <span>
#include <vector>

#include "ephemeris/ephemeris_store.h"
#include "events/site.h"

namespace vk {

// The illuminated fraction (0 … 1) of a body lit by the Sun, seen from the
// Earth's centre: (1 + cos i) / 2 with the phase angle i of the triangle
// Sun–Earth–body from the elongation (radians, 0 … pi) and the two distances
// (any one unit). Never fails.
double IlluminatedFraction(double elongation_rad, double sun_distance, double body_distance);

// Angle between two directions given by right ascension (hours) and
// declination (degrees). Returns: radians, 0 … pi. Never fails.
double AngularSeparation(double ra1_h, double dec1_deg, double ra2_h, double dec2_deg);

struct tMoonLight {
  double fraction = 0;              // illuminated fraction, 0 … 1
  std::optional<double> age_days;   // days since the last new Moon; empty when none lies in the period before
};

// The Moon's light at the instant `jd_ut` (Julian day UT), from the Sun's and
// the Moon's hourly rows interpolated linearly; `new_moons` are the instants
// (Julian days UT) of the period's new Moons in ascending order.
// Returns: empty when `jd_ut` lies outside the rows the store holds. Never fails.
std::optional<tMoonLight> MoonLightAt(const EphemerisStore& eph, std::span<const double> new_moons, double jd_ut);

// The new Moons among `syzygies` (new and full Moons, Julian days UT, any
// order): those where the Moon's ecliptic longitude lies within 90 degrees of
// the Sun's. Returns: ascending. Never fails except std::bad_alloc.
std::vector<double> NewMoonsOf(const EphemerisStore& eph, std::span<const double> syzygies);

// The Moon's light at local noon of each calendar day of a period for one site.
struct tMoonDays {
  double first_day = 0;  // Julian day of the local 00:00 of days[0]
  std::vector<std::optional<tMoonLight>> days;

  // The entry of the day whose local 00:00 is `day_jd`. Returns: null
  // outside the days held or where the noon lay outside the rows. Never fails.
  const tMoonLight* on(double day_jd) const;
};

// Local noon of `day_jd` (Julian day of the local 00:00) under the site's
// zone, as a Julian day UT. Never fails.
double LocalNoonUT(double day_jd, const Site& site);

// The light of every day of the store's period at the site's local noon.
// Never fails except std::bad_alloc.
tMoonDays ComputeMoonDays(const EphemerisStore& eph, std::span<const double> syzygies, const Site& site);

}  // namespace vk
