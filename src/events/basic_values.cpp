#include "basic_values.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "event_passes.h"
#include "topocentric.h"
#include "timecalc/numeric.h"
#include "timecalc/sidereal.h"

namespace vk {

BasicTable::BasicTable(int capacity)
    : capacity_(capacity),
      rows_(MakeLargeArray<tBasicRow>(static_cast<std::size_t>(kBodyCount) * static_cast<std::size_t>(capacity))),
      elong_(MakeLargeArray<double>(2 * static_cast<std::size_t>(capacity))),
      turn_(MakeLargeArray<unsigned char>(static_cast<std::size_t>(kBodyCount) * static_cast<std::size_t>(capacity))),
      sun_unit_(MakeLargeArray<UnitVector3>(static_cast<std::size_t>(capacity) + 1)),
      place_(MakeLargeArray<GeoPlace>(static_cast<std::size_t>(kBodyCount) * static_cast<std::size_t>(capacity))),
      time_(MakeLargeArray<RowTime>(static_cast<std::size_t>(capacity) + 1)) {}

double BasicTable::SiderealOffset(int row, double jd) const {
  const RowTime* t = row >= 1 && row <= capacity_ ? sun_time(row, jd) : nullptr;
  return t ? t->apparent : ApparentSiderealOffset(jd);
}

double BasicTable::ApparentSidereal(int row, double jd) const {
  const RowTime* t = row >= 1 && row <= capacity_ ? sun_time(row, jd) : nullptr;
  return t ? t->gmst + t->apparent : GMST_Rad(jd) + ApparentSiderealOffset(jd);
}

void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first, int last, Interpolation mode) {
  if (last == kLastRow) last = eph.rows();
  PrepareBasicValues(eph, body, basic, first, last);
  ComputeSiteValues(eph, site, obs, body, basic, first, last, mode);
}

namespace {

// How far the topocentric altitude may lie from the geocentric one, degrees,
// for a body at `delta` au.
double ParallaxMargin(double delta) { return SinHorizontalParallax(delta) * kRadToDeg * 1.01 + 1e-6; }

// Added to every bound of a sine of altitude: covers the single precision of
// the angles it is compared with and the bounds' own rounding.
constexpr double kSineSlack = 1e-6;

// More than the apparent sidereal time ever differs from the mean one
// (ApparentSiderealOffset: under 1.25 s of time), radians.
constexpr double kApparentSiderealSlack = 1e-4;

// How far the turn of a body's geocentric altitude, as the parabola through
// three hourly rows gives it, may lie from the topocentric one beyond the
// parallax: the parabola's error within the hour (at most about 0.07° where
// the altitude changes by 15° an hour) and the upper limb's turn against the
// centre's, as a sine (0.3°).
constexpr double kTurnMargin = 0.3 * kDegToRad;

// Sine of an altitude in degrees; near the horizon, where the upper limb's
// levels lie, by its series.
double SineOfAltitude(double deg) {
  const double x = deg * kDegToRad;
  if (std::fabs(x) > 0.1) return std::sin(x);
  const double x2 = x * x;
  return x * (1 - x2 / 6 * (1 - x2 / 20));
}

// The bodies whose passes read the elongation: greatest elongations and brightness maxima.
bool ElongationRead(int body) { return body == Mercury || body == Venus; }

}  // namespace

void PrepareBasicValues(const EphemerisStore& eph, int body, BasicTable& basic, int first, int last) {
  if (last == kLastRow) last = eph.rows();
  if (first <= 1) {
    basic.fixed_[static_cast<std::size_t>(body)].reset();
    basic.transits_[static_cast<std::size_t>(body)] = {};
  }
  // The apparent sidereal time of the Sun's rows, interpolated over the block.
  std::optional<ApparentSiderealSpan> apparent;
  if (body == Sun && first <= last) apparent.emplace(eph.at(Sun, first).jd, eph.at(Sun, last).jd);
  for (int k = first; k <= last; ++k) {
    const tEphemerisRow& e = eph.at(body, k);
    tBasicRow& v = basic.at(body, k);
    const double dec = e.dec * kDegToRad;
    const double sin_dec = std::sin(dec), cos_dec = std::cos(dec);
    if (body == Sun) {
      const double gmst = GMST_Rad(e.jd);
      basic.time_[k] = {e.jd, gmst, std::sin(gmst), std::cos(gmst), apparent->Offset(e.jd)};
    }
    // Longitude difference and elongation from the Sun's ephemeris row.
    if (body == Sun) {
      v.sin_d_lon = 0;
      v.cos_d_lon = 1;
    } else {
      const double d_lon = (e.ecl_lon - eph.at(Sun, k).ecl_lon) * kDegToRad;
      v.sin_d_lon = std::sin(d_lon);
      v.cos_d_lon = std::cos(d_lon);
    }
    const double ra = e.ra * kHourToRad;
    const double sin_ra = std::sin(ra), cos_ra = std::cos(ra);
    const UnitVector3 u{cos_ra * cos_dec, sin_ra * cos_dec, sin_dec};  // as Unit_Vector gives it
    if (body == Sun) basic.sun_unit_[k] = u;
    if (ElongationRead(body)) basic.elong(body, k) = Angular_Distance(u, basic.sun_unit_[k]) * kRadToDeg;
    // The hour angle at longitude 0 and the upper limb's level with the parallax either side.
    const BasicTable::RowTime* t = basic.sun_time(k, e.jd);  // the Sun's row serves every body's row of the same instant
    const double gmst = t ? t->gmst : GMST_Rad(e.jd);
    const double sin_g = t ? t->sin_g : std::sin(gmst), cos_g = t ? t->cos_g : std::cos(gmst);
    // The band from the upper limb's level (precise rises and sets) to the
    // lower limb's (the classic bracket), widened by the parallax.
    const double margin = ParallaxMargin(e.delta);
    const double upper = kHorizonAltitude - Semidiameter(e.diameter), lower = kHorizonAltitude + Semidiameter(e.diameter);
    basic.place_[basic.index(body, k)] = {
        sin_dec,
        cos_dec,
        static_cast<float>(sin_g * cos_ra - cos_g * sin_ra),
        static_cast<float>(cos_g * cos_ra + sin_g * sin_ra),
        static_cast<float>(SineOfAltitude(upper - margin) - kSineSlack),
        static_cast<float>(SineOfAltitude(lower + margin) + kSineSlack)};
  }
}

void PrepareFixedEvents(const EphemerisStore& eph, BasicTable& basic, int body) {
  basic.fixed_[static_cast<std::size_t>(body)] = FindFixedEvents(eph, basic, body);
}

namespace {

// Bits of a row against one level: its side is not certain, or it lies above.
constexpr unsigned kNear = 1, kAbove = 2;
// Bits 0 … 11 for the altitude levels (upper limb, then the Sun's levels
// from the lowest), bits 12 and 13 for the sign of the hour angle's sine.
constexpr unsigned kAltitudeBits = 0xfff, kAnyAltitudeNear = 0x555, kHourAngleShift = 12;
// The Sun's levels: the three twilights, then the bounds of the golden hour.
constexpr double kTwilights[] = {kAstronomicalTwilight, kNauticalTwilight, kCivilTwilight, kGoldenHourLow,
                                 kGoldenHourHigh};
constexpr int kTwilightCount = 5;

unsigned Side(double s, double lo, double hi) {
  if (s > hi) return kAbove;
  return s < lo ? 0 : kNear;  // NaN: not certain
}

// The Sun's levels in use: the twilights, with `light` also the golden hour's bounds.
int SunLevels(bool light) { return light ? kTwilightCount : 3; }

// An altitude on the same side of every level as `bits` says, the levels
// being the upper limb's `limb` and for the Sun its first `sun_levels`
// levels; NaN when `bits` is no such side (then the row's own altitude is needed).
double StandInAltitude(int body, unsigned bits, double limb, int sun_levels) {
  const bool sun = body == Sun;
  const int n = sun ? sun_levels + 1 : 1;
  // Ascending: the Sun's levels below the upper limb, the limb, the ones above it.
  double levels[kTwilightCount + 1];
  bool above[kTwilightCount + 1];
  int count = 0, filled = 0;
  auto put = [&](double level, int shift) {
    levels[filled] = level;
    above[filled] = (bits >> shift & kAbove) != 0;
    count += above[filled] ? 1 : 0;
    ++filled;
  };
  int l = 0;
  if (sun)
    for (; l < sun_levels && kTwilights[l] < limb; ++l) put(kTwilights[l], 2 * (l + 1));
  put(limb, 0);
  if (sun)
    for (; l < sun_levels; ++l) put(kTwilights[l], 2 * (l + 1));
  const double alt = count == 0 ? -90 : count == n ? 90 : (levels[count - 1] + levels[count]) / 2;
  for (int k = 0; k < n; ++k)
    if ((alt > levels[k]) != above[k]) return std::numeric_limits<double>::quiet_NaN();
  return alt;
}

}  // namespace

void ComputeSiteValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                       BasicTable& basic, int first, int last, Interpolation mode, bool light) {
  if (last == kLastRow) last = eph.rows();
  const int sun_levels = SunLevels(light);
  const bool apparent = mode == Interpolation::Precise;
  const SiteAngles angles = MakeSiteAngles(site, obs);
  const double sin_lon = std::sin(angles.lon), cos_lon = std::cos(angles.lon);
  double sin_twilight[kTwilightCount], cos_twilight[kTwilightCount];
  for (int l = 0; l < kTwilightCount; ++l) {
    sin_twilight[l] = std::sin(kTwilights[l] * kDegToRad);
    cos_twilight[l] = std::cos(kTwilights[l] * kDegToRad);
  }
  // The topocentric altitude lies within the parallax of the geocentric one,
  // whose sine needs no trigonometry here; it decides each row's side of the
  // levels where it is far enough from them. Rows near a change of side get
  // the whole topocentric place.
  const int lo = std::max(1, first - 3), hi = std::min(eph.rows(), last + 3);
  const std::size_t count = static_cast<std::size_t>(hi - lo + 1);
  // Scratch room of this thread, kept for its next block: every element is
  // written before it is read, except the turns, cleared here.
  thread_local std::vector<unsigned> sides;
  thread_local std::vector<double> sin_ha;
  // Precise instants: the sine of the geocentric altitude of each row, and
  // whether a turn of the altitude close to a level lies near the row.
  thread_local std::vector<double> sin_alt;
  thread_local std::vector<char> turn;
  sides.resize(count);
  sin_ha.resize(count);
  if (apparent) {
    sin_alt.resize(count);
    turn.assign(count, 0);
  }
  // The place's angles are of the mean sidereal time; the apparent one
  // differs by less than 1e-4 rad (1.4 s of time), which moves each sine by
  // no more.
  const double shift = apparent ? kApparentSiderealSlack : 0.0;
  for (int k = lo; k <= hi; ++k) {
    const BasicTable::GeoPlace& p = basic.place_[basic.index(body, k)];
    const double cos_h = static_cast<double>(p.cos_h0) * cos_lon - static_cast<double>(p.sin_h0) * sin_lon;
    const double sin_h = static_cast<double>(p.sin_h0) * cos_lon + static_cast<double>(p.cos_h0) * sin_lon;
    const double s = angles.sin_lat * p.sin_dec + angles.cos_lat * p.cos_dec * cos_h;
    if (apparent) sin_alt[static_cast<std::size_t>(k - lo)] = s;
    unsigned bits = Side(s, p.lo - shift, p.hi + shift);
    if (body == Sun) {
      const double m = ParallaxMargin(eph.at(Sun, k).delta) * kDegToRad;
      const double spread = m * m / 2 + kSineSlack + shift;
      for (int l = 0; l < sun_levels; ++l)
        bits |= Side(s, sin_twilight[l] - cos_twilight[l] * m - spread, sin_twilight[l] + cos_twilight[l] * m + spread)
                << (2 * (l + 1));
    }
    bits |= Side(sin_h, -kSineSlack - shift, kSineSlack + shift) << kHourAngleShift;
    sides[static_cast<std::size_t>(k - lo)] = bits;
    sin_ha[static_cast<std::size_t>(k - lo)] = sin_h;
  }
  if (apparent) {
    // A turn of the altitude between rows that may reach a level the rows
    // themselves stay on one side of (a dip or a graze shorter than an hour):
    // the vertex of the parabola through three rows' sines, within the
    // parallax and the interpolation's error (kTurnMargin) of a level's band.
    // The passes find such turns in rows three either side of it, which get
    // their own values.
    for (int k = lo + 1; k < hi; ++k) {
      const std::size_t j = static_cast<std::size_t>(k - lo);
      const double s1 = sin_alt[j - 1], s2 = sin_alt[j], s3 = sin_alt[j + 1];
      if ((s2 - s1) * (s3 - s2) > 0) continue;  // no turn at this row
      const double c = s1 - 2 * s2 + s3;
      if (c == 0 || std::fabs(s3 - s1) > 3 * std::fabs(c)) continue;  // the vertex lies beyond 1.5 rows
      const double v = s2 - (s3 - s1) * (s3 - s1) / (8 * c);
      const BasicTable::GeoPlace& p = basic.place_[basic.index(body, k)];
      bool near = v > static_cast<double>(p.lo) - shift - kTurnMargin && v < static_cast<double>(p.hi) + kTurnMargin;
      if (body == Sun) {
        const double m = ParallaxMargin(eph.at(Sun, k).delta) * kDegToRad + kTurnMargin;
        for (int l = 0; l < sun_levels; ++l) near |= std::fabs(v - sin_twilight[l]) < cos_twilight[l] * m;
      }
      if (!near) continue;
      for (int r = std::max(lo, k - 3); r <= std::min(hi, k + 3); ++r) turn[static_cast<std::size_t>(r - lo)] = 1;
    }
  }
  for (int k = first; k <= last; ++k) {
    const unsigned own = sides[static_cast<std::size_t>(k - lo)];
    unsigned differs = 0;
    for (int j = std::max(lo, k - 1); j <= std::min(hi, k + 2); ++j) differs |= sides[static_cast<std::size_t>(j - lo)] ^ own;
    // The passes continue rows 1 … 3 back to the row before the table.
    const bool near_turn = apparent && turn[static_cast<std::size_t>(k - lo)];
    basic.turn_[basic.index(body, k)] = near_turn ? 1 : 0;
    if (k <= 3 || near_turn) differs = ~0u;
    const tEphemerisRow& e = eph.at(body, k);
    tBasicRow& row = basic.at(body, k);
    const BasicTable::RowTime* t = basic.sun_time(k, e.jd);
    const double gmst = t ? t->gmst : GMST_Rad(e.jd);
    const double sidereal = apparent ? gmst + (t ? t->apparent : ApparentSiderealOffset(e.jd)) : gmst;
    double alt = std::numeric_limits<double>::quiet_NaN();
    if (!(own & kAnyAltitudeNear) && !(differs & kAltitudeBits))
      alt = StandInAltitude(body, own, kHorizonAltitude + Semidiameter(e.diameter), sun_levels);
    if (std::isnan(alt) && apparent) {
      // The altitude alone, as the refinement forms it between the rows.
      const BasicTable::GeoPlace& p = basic.place_[basic.index(body, k)];
      const double ha = sidereal + angles.lon - e.ra * kHourToRad;
      row.sin_ha = std::sin(ha);
      row.alt = TopocentricAltitude(row.sin_ha, std::cos(ha), p.sin_dec, p.cos_dec, SinHorizontalParallax(e.delta),
                                    angles);
      continue;
    }
    if (std::isnan(alt)) {
      tBasicValues v;
      v.ra = e.ra;
      v.dec = e.dec;
      v.sin_par = SinHorizontalParallax(e.delta);
      const BasicTable::GeoPlace& p = basic.place_[basic.index(body, k)];
      TopocentricFromPlace(sidereal, p.sin_dec, p.cos_dec, angles, v);
      row.sin_ha = v.sin_ha;
      row.alt = v.alt;
      continue;
    }
    row.alt = alt;
    const bool exact_sign = (own >> kHourAngleShift & kNear) || (differs >> kHourAngleShift) != 0;
    row.sin_ha = exact_sign ? std::sin(sidereal + angles.lon - e.ra * kHourToRad) : sin_ha[static_cast<std::size_t>(k - lo)];
  }
}

}  // namespace vk
