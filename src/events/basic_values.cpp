#include "events/basic_values.h"

#include <cmath>

#include "events/topocentric.h"
#include "timecalc/numeric.h"

namespace vk {

BasicTable::BasicTable()
    : rows_(new tBasicValues[static_cast<std::size_t>(kBodyCount) * kEphemerisRows]()),
      sun_unit_(new UnitVector3[kEphemerisRows + 1]()) {}

void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first, int last) {
  const SiteAngles angles = MakeSiteAngles(site, obs);
  for (int k = first; k <= last; ++k) {
    const tEphemerisData& e = eph.at(body, k);
    tBasicValues& v = basic.at(body, k);
    TopocentricPlace(e.jd, e.ra, e.dec, e.delta, angles, v);
    const double dec = v.dec * kDegToRad;
    const double sin_dec = std::sin(dec), cos_dec = std::cos(dec);
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
