#include "events/basic_values.h"

#include <cmath>

#include "timecalc/numeric.h"

namespace vk {

BasicTable::BasicTable()
    : rows_(new tBasicValues[static_cast<std::size_t>(kBodyCount) * kEphemerisRows]()),
      sun_unit_(new UnitVector3[kEphemerisRows + 1]()) {}

void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first, int last) {
  static const double kSinParallax1AU = std::sin(8.794 / 3600 * kDegToRad);
  const double lon = site.Site_eLon * kDegToRad;
  const double lat = site.Site_nLat * kDegToRad;
  const double sin_lat = std::sin(lat), cos_lat = std::cos(lat);
  for (int k = first; k <= last; ++k) {
    const tEphemerisData& e = eph.at(body, k);
    tBasicValues& v = basic.at(body, k);
    v.theta = GMST_Rad(e.jd) + lon;
    v.ra = e.ra;
    v.dec = e.dec;
    v.sin_par = kSinParallax1AU / e.delta;
    v.ha = v.theta - v.ra * kHourToRad;
    const double dec = v.dec * kDegToRad;
    const double sin_dec = std::sin(dec), cos_dec = std::cos(dec);
    const double sin_ha = std::sin(v.ha), cos_ha = std::cos(v.ha);
    // Topocentric place: the parallax correction for an observer at height 0.
    const double denom = cos_dec - obs.Obs_RhoCosPhi * v.sin_par * cos_ha;
    v.d_ra = Atan2_YX(-obs.Obs_RhoCosPhi * v.sin_par * sin_ha, denom);
    v.ra_topo = v.ra + v.d_ra * kRadToHour;
    v.dec_topo = Atan2_YX((sin_dec - obs.Obs_RhoSinPhi * v.sin_par) * std::cos(v.d_ra), denom) * kRadToDeg;
    // Altitude of the topocentric place.
    const double h = GMST_Rad(e.jd) + lon - v.ra_topo * kHourToRad;
    v.alt = Altitude_Of_Hour_Angle(sin_lat, cos_lat, v.dec_topo * kDegToRad, h) * kRadToDeg;
    // Longitude difference and elongation from the Sun's ephemeris row.
    v.d_lon = body == Sun ? 0.0 : (e.ecl_lon - eph.at(Sun, k).ecl_lon) * kDegToRad;
    v.sin_d_lon = std::sin(v.d_lon);
    v.cos_d_lon = std::cos(v.d_lon);
    const UnitVector3 u = Unit_Vector(v.ra * kHourToRad, sin_dec, cos_dec);
    if (body == Sun) basic.sun_unit_[k] = u;
    v.elong = Angular_Distance(u, basic.sun_unit_[k]) * kRadToDeg;
  }
}

}  // namespace vk
