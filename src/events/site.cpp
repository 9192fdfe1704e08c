#include "events/site.h"

#include <cmath>

#include "timecalc/calendar.h"
#include "timecalc/numeric.h"

namespace vk {

ObserverConstants ComputeObserverConstants(double latitude_deg) {
  const double phi = latitude_deg * kDegToRad;
  const double u = std::atan(0.99664719 * std::tan(phi));
  return {0.99664719 * std::sin(u), std::cos(u)};
}

double LocalJD(double jd_ut, double tz_hours) {
  double local = jd_ut + tz_hours / 24;
  if (IsSummerTime(jd_ut)) local += 1.0 / 24;
  return local;
}

double LocalJD(double jd_ut, const Site& site) {
  return site.Site_Zone ? TableLocalJD(*site.Site_Zone, jd_ut) : LocalJD(jd_ut, site.Site_TZ_Hours);
}

ZoneRule SiteZoneRule(const Site& site) { return {site.Site_TZ_Hours, site.Site_Zone}; }

}  // namespace vk
