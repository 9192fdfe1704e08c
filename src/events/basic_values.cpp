#include "events/basic_values.h"

#include <cmath>

#include "timecalc/numeric.h"

namespace vk {

BasicTable::BasicTable() : rows_(new tBasicValues[static_cast<std::size_t>(kBodyCount) * kEphemerisRows]()) {}

void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first, int last) {
  static const double kSinParallax1AU = std::sin(8.794 / 3600 * kDegToRad);
  const double lon = site.Site_eLon * kDegToRad;
  const double lat = site.Site_nLat * kDegToRad;
  for (int k = first; k <= last; ++k) {
    const tEphemerisData& e = eph.at(body, k);
    const tEphemerisData& sun = eph.at(Sun, k);
    tBasicValues& v = basic.at(body, k);
    v.theta = GMST_Rad(e.jd) + lon;
    v.ra = e.ra;
    v.dec = e.dec;
    v.sin_par = kSinParallax1AU / e.delta;
    v.ha = v.theta - v.ra * kHourToRad;
    const double dec = v.dec * kDegToRad;
    const double cos_ha = std::cos(v.ha);
    const double denom = std::cos(dec) - obs.Obs_RhoCosPhi * v.sin_par * cos_ha;
    v.d_ra = Atan2_YX(-obs.Obs_RhoCosPhi * v.sin_par * std::sin(v.ha), denom);
    v.ra_topo = v.ra + v.d_ra * kRadToHour;
    v.dec_topo = Atan2_YX((std::sin(dec) - obs.Obs_RhoSinPhi * v.sin_par) * std::cos(v.d_ra), denom) * kRadToDeg;
    v.alt = Altitude_Rad(e.jd, v.ra_topo * kHourToRad, v.dec_topo * kDegToRad, lon, lat) * kRadToDeg;
    v.d_lon = body == Sun ? 0.0 : (e.ecl_lon - sun.ecl_lon) * kDegToRad;
    v.sin_d_lon = std::sin(v.d_lon);
    v.cos_d_lon = std::cos(v.d_lon);
    v.elong = Angular_Distance(v.ra * kHourToRad, dec, sun.ra * kHourToRad, sun.dec * kDegToRad) * kRadToDeg;
  }
}

}  // namespace vk
