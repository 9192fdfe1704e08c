#include "events/basic_values.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "events/event_passes.h"
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

namespace {

// The altitudes (degrees) whose crossings the event passes look for in row k:
// the upper limb at the horizon for every body, the three twilights for the Sun.
int AltitudeLevels(int body, const tEphemerisData& e, double (&levels)[4]) {
  levels[0] = kHorizonAltitude + Semidiameter(e.diameter);
  if (body != Sun) return 1;
  levels[1] = kAstronomicalTwilight;
  levels[2] = kNauticalTwilight;
  levels[3] = kCivilTwilight;
  return 4;
}

// Bits of a row's geocentric altitude against the levels: bit 2l set when it
// may lie within the parallax of level l, bit 2l + 1 when it is above it.
constexpr unsigned kNear = 1, kAbove = 2;

}  // namespace

void ComputeSiteValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                       BasicTable& basic, int first, int last) {
  const SiteAngles angles = MakeSiteAngles(site, obs);
  // The topocentric altitude lies within the parallax of the geocentric one,
  // which needs one arcsine instead of the whole topocentric place. Rows two
  // apart from any row whose side of a level is not certain or differs from
  // theirs get the topocentric altitude; the passes read the altitude's value
  // only in such rows and elsewhere only its side of the levels.
  const int lo = std::max(1, first - 2), hi = std::min(kEphemerisRows, last + 2);
  std::vector<unsigned> sides(static_cast<std::size_t>(hi - lo + 1));
  std::vector<double> geo(static_cast<std::size_t>(last - first + 1));
  auto gmst_of = [&](int k, const tEphemerisData& e) {
    // The sidereal time of the Sun's row serves every body whose row has the same instant.
    return basic.time_[k].jd == e.jd ? basic.time_[k].gmst : GMST_Rad(e.jd);
  };
  for (int k = lo; k <= hi; ++k) {
    const tEphemerisData& e = eph.at(body, k);
    const BasicTable::SinCos dec = basic.dec_[BasicTable::index(body, k)];
    const double ha = gmst_of(k, e) + angles.lon - e.ra * kHourToRad;
    const double sin_ha = std::sin(ha), cos_ha = std::cos(ha);
    const double alt = ArcSin_Clamped(angles.sin_lat * dec.sin + angles.cos_lat * dec.cos * cos_ha) * kRadToDeg;
    const double margin = SinHorizontalParallax(e.delta) * kRadToDeg * 1.01 + 1e-6;
    double levels[4];
    const int n = AltitudeLevels(body, e, levels);
    unsigned bits = 0;
    for (int l = 0; l < n; ++l) {
      const double d = alt - levels[l];
      if (!(std::fabs(d) > margin)) bits |= kNear << (2 * l);  // NaN included
      if (d > 0) bits |= kAbove << (2 * l);
    }
    sides[static_cast<std::size_t>(k - lo)] = bits;
    if (k < first || k > last) continue;
    geo[static_cast<std::size_t>(k - first)] = alt;
    basic.at(body, k).sin_ha = sin_ha;
  }
  constexpr unsigned kAnyNear = 0x55;  // the near bits of all levels
  for (int k = first; k <= last; ++k) {
    const unsigned own = sides[static_cast<std::size_t>(k - lo)];
    bool exact = (own & kAnyNear) != 0;
    for (int j = std::max(lo, k - 2); j <= std::min(hi, k + 2) && !exact; ++j)
      exact = sides[static_cast<std::size_t>(j - lo)] != own;
    tBasicRow& row = basic.at(body, k);
    if (!exact) {
      row.alt = geo[static_cast<std::size_t>(k - first)];
      continue;
    }
    const tEphemerisData& e = eph.at(body, k);
    const BasicTable::SinCos dec = basic.dec_[BasicTable::index(body, k)];
    tBasicValues v;
    v.ra = e.ra;
    v.dec = e.dec;
    v.sin_par = SinHorizontalParallax(e.delta);
    TopocentricFromPlace(gmst_of(k, e), dec.sin, dec.cos, angles, v);
    row.sin_ha = v.sin_ha;
    row.alt = v.alt;
  }
}

}  // namespace vk
