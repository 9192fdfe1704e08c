// The observer site and the constants derived from it.
#pragma once
#include <memory>

#include "timecalc/zone_rule.h"

namespace vk {

struct Site {
  double Site_nLat = 47.5;      // latitude, degrees, north positive
  double Site_eLon = 7.5;       // longitude, degrees, east positive
  double Site_TZ_Hours = 1.0;   // offset of the zone from UT, hours
  std::shared_ptr<const ZoneTable> Site_Zone;  // a real zone; null: the classic rule
};

// Geocentric position of an observer at height 0 (Earth flattening 1/298.257).
struct ObserverConstants {
  double Obs_RhoSinPhi;
  double Obs_RhoCosPhi;
};

ObserverConstants ComputeObserverConstants(double latitude_deg);

inline constexpr double AU_km = 149597870.7;      // kilometres per astronomical unit
inline constexpr double kEarthRadiusKm = 6378.136;

// Local civil time of an instant: UT + zone, one hour more while summer time holds.
// jd_ut: Julian day UT. Returns: Julian day, local time.
double LocalJD(double jd_ut, double tz_hours);

// Local civil time under the site's zone: its real zone's table when it has
// one, else LocalJD(jd_ut, Site_TZ_Hours). Returns: Julian day, local time.
double LocalJD(double jd_ut, const Site& site);

// The site's zone as a rule (the classic rule when Site_Zone is null).
ZoneRule SiteZoneRule(const Site& site);

}  // namespace vk
