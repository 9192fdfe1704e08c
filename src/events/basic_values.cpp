#include "events/basic_values.h"

#include <cmath>
#include <limits>

#include "events/topocentric.h"
#include "timecalc/numeric.h"

namespace vk {

BasicTable::BasicTable()
    : rows_(new tBasicRow[static_cast<std::size_t>(kBodyCount) * kEphemerisRows]()),
      sun_unit_(new UnitVector3[kEphemerisRows + 1]()),
      dec_(new SinCos[static_cast<std::size_t>(kBodyCount) * kEphemerisRows]()),
      time_(new RowTime[kEphemerisRows + 1]) {
  // No row's instant matches before the Sun's rows are prepared.
  for (int k = 0; k <= kEphemerisRows; ++k) time_[k] = {std::numeric_limits<double>::quiet_NaN(), 0};
}

void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first, int last) {
  PrepareBasicValues(eph, body, basic, first, last);
  ComputeSiteValues(eph, site, obs, body, basic, first, last);
}

void PrepareBasicValues(const EphemerisStore& eph, int body, BasicTable& basic, int first, int last) {
  for (int k = first; k <= last; ++k) {
    const tEphemerisData& e = eph.at(body, k);
    tBasicRow& v = basic.at(body, k);
    v.ra = e.ra;
    const double dec = e.dec * kDegToRad;
    const double sin_dec = std::sin(dec), cos_dec = std::cos(dec);
    basic.dec_[BasicTable::index(body, k)] = {sin_dec, cos_dec};
    if (body == Sun) basic.time_[k] = {e.jd, GMST_Rad(e.jd)};
    // Longitude difference and elongation from the Sun's ephemeris row.
    const double d_lon = body == Sun ? 0.0 : (e.ecl_lon - eph.at(Sun, k).ecl_lon) * kDegToRad;
    v.sin_d_lon = std::sin(d_lon);
    v.cos_d_lon = std::cos(d_lon);
    const UnitVector3 u = Unit_Vector(v.ra * kHourToRad, sin_dec, cos_dec);
    if (body == Sun) basic.sun_unit_[k] = u;
    v.elong = Angular_Distance(u, basic.sun_unit_[k]) * kRadToDeg;
  }
}

void ComputeSiteValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                       BasicTable& basic, int first, int last) {
  const SiteAngles angles = MakeSiteAngles(site, obs);
  for (int k = first; k <= last; ++k) {
    const tEphemerisData& e = eph.at(body, k);
    // The sidereal time of the Sun's row serves every body whose row has the same instant.
    const double gmst = basic.time_[k].jd == e.jd ? basic.time_[k].gmst : GMST_Rad(e.jd);
    const BasicTable::SinCos dec = basic.dec_[BasicTable::index(body, k)];
    tBasicValues v;
    v.ra = e.ra;
    v.dec = e.dec;
    v.sin_par = SinHorizontalParallax(e.delta);
    TopocentricFromPlace(gmst, dec.sin, dec.cos, angles, v);
    tBasicRow& row = basic.at(body, k);
    row.sin_ha = v.sin_ha;
    row.alt = v.alt;
  }
}

}  // namespace vk
