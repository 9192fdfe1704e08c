#include "events/eclipses.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "instant_refine.h"
#include "timecalc/numeric.h"
#include "timecalc/sidereal.h"

namespace vk {
namespace {

// Earth's shadow after Danjon: the Earth's radius enlarged by 1/85 for its
// atmosphere, and reduced by 1/594 to its mean radius at 45° latitude for
// its flattening, as the published canons of lunar eclipses take it. The
// shadow's radii at the Moon's distance are then 1.01 π_M + π_S ± s_S
// (π: horizontal parallaxes, s_S: the Sun's semidiameter).
constexpr double kShadowEnlargement = 1.0 + 1.0 / 85 - 1.0 / 594;
// The Moon's radius in Earth equatorial radii (IAU, k = 0.2725076): the
// limb of eclipses and occultations.
constexpr double kMoonRadius = 0.2725076;
// The Sun's semidiameter at 1 au (959.63″), radians.
constexpr double kSunSemidiameter1AU = 959.63 / 3600 * kDegToRad;
constexpr double kEarthRadiiPerAU = AU_km / kEarthRadiusKm;
constexpr double kHour = 1.0 / 24;
constexpr double kMinute = 1.0 / 1440;
// Contacts and extremes to within 0.05 s.
constexpr double kTolerance = 0.05 / 86400;
// The level of a rise or set: the upper limb at -34', radians.
constexpr double kHorizon = -34.0 / 60 * kDegToRad;

// The tables and their number of rows (counted once: the period computes it).
struct Tables {
  const EphemerisStore& store;
  int rows;
  const tEphemerisRow& at(int body, int row) const { return store.at(body, row); }
};

struct Vec {
  double x, y, z;
};
Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Norm(const Vec& a) { return std::sqrt(Dot(a, a)); }
// The angle between two directions, stable for small angles. Radians.
double Angle(const Vec& a, const Vec& b) {
  const Vec c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return std::atan2(Norm(c), Dot(a, b));
}

// The geocentric apparent place of `body` at `jd` (UT), in Earth radii:
// right ascension, declination and Δ interpolated over the six hourly rows
// around the instant.
Vec GeoVector(const Tables& eph, int body, double jd) {
  const double x = (jd - eph.at(body, 1).jd) * 24 + 1;  // row number, fractional
  int first = static_cast<int>(std::floor(x)) - (kRefineRows / 2 - 1);
  first = std::clamp(first, 1, eph.rows - kRefineRows + 1);
  const std::array<double, kRefineRows> w = LagrangeWeights(x - first);
  const double ra0 = eph.at(body, first).ra;
  double ra = 0, dec = 0, delta = 0;
  for (int k = 0; k < kRefineRows; ++k) {
    const tEphemerisRow& e = eph.at(body, first + k);
    double r = e.ra - ra0;  // continued across 24 h → 0 h
    if (r > 12) r -= 24;
    if (r < -12) r += 24;
    ra += w[k] * r;
    dec += w[k] * e.dec;
    delta += w[k] * e.delta;
  }
  const double a = (ra0 + ra) * kHourToRad, d = dec * kDegToRad, r = delta * kEarthRadiiPerAU;
  return {r * std::cos(d) * std::cos(a), r * std::cos(d) * std::sin(a), r * std::sin(d)};
}

// The observer at height 0, and the apparent sidereal time near one event:
// the equation of the equinoxes is taken once per event (it changes by
// under 1e-7 rad in a day).
class Observer {
 public:
  Observer(const Site& site, double jd)
      : obs_(ComputeObserverConstants(site.Site_nLat)),
        lon_(site.Site_eLon * kDegToRad),
        sin_lat_(std::sin(site.Site_nLat * kDegToRad)),
        cos_lat_(std::cos(site.Site_nLat * kDegToRad)),
        offset_(ApparentSiderealOffset(jd)) {}
  // The observer's geocentric vector at `jd`, Earth radii.
  Vec At(double jd) const {
    const double theta = GMST_Rad(jd) + offset_ + lon_;
    return {obs_.Obs_RhoCosPhi * std::cos(theta), obs_.Obs_RhoCosPhi * std::sin(theta), obs_.Obs_RhoSinPhi};
  }
  // The altitude (radians, no refraction) of the topocentric direction `v` at `jd`.
  double Altitude(const Vec& v, double jd) const {
    const double theta = GMST_Rad(jd) + offset_ + lon_;
    const Vec up{cos_lat_ * std::cos(theta), cos_lat_ * std::sin(theta), sin_lat_};
    return std::asin(std::clamp(Dot(v, up) / Norm(v), -1.0, 1.0));
  }

 private:
  ObserverConstants obs_;
  double lon_, sin_lat_, cos_lat_, offset_;
};

// The least value of f within [a, b] by golden sections: its instant.
template <class F>
double Minimum(F f, double a, double b) {
  const double g = (std::sqrt(5.0) - 1) / 2;
  double c = b - g * (b - a), d = a + g * (b - a);
  double fc = f(c), fd = f(d);
  while (b - a > kTolerance) {
    if (fc < fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - g * (b - a);
      fc = f(c);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + g * (b - a);
      fd = f(d);
    }
  }
  return (a + b) / 2;
}

// The instant of the least value of f over [a, b]: sampled every `step`,
// then refined around the least sample; nothing when no sample comes below
// `above` (f cannot dip from there below zero between samples).
template <class F>
std::optional<double> SampledMinimum(F f, double a, double b, double step, double above) {
  double best = a, best_value = f(a);
  for (double t = a + step; t <= b; t += step)
    if (const double v = f(t); v < best_value) {
      best = t;
      best_value = v;
    }
  if (best_value > above) return std::nullopt;
  return Minimum(f, std::max(a, best - step), std::min(b, best + step));
}

// The most the distance of the Moon from a point or a disc changes in half
// of a sampling step: 0.8° an hour (its own motion and the parallax's
// change) over 7.5 minutes, radians.
constexpr double kHalfStepMotion = 0.1 * kDegToRad;

// The zero of f between a and b (a < b), where f changes sign.
template <class F>
double Zero(F f, double a, double b) {
  return BisectZero(f, a, b, f(a), kTolerance);
}

// The contacts around `mid`, where f < 0: the last zero of f before it and
// the first after it, within `reach` days. Every contact of every kind is
// found by this one search. NaN where f stays negative within reach.
template <class F>
std::pair<double, double> Contacts(F f, double mid, double reach) {
  auto side = [&](double toward) {
    // Stepped outwards to the first sample above zero, then bisected.
    const double step = 10 * kMinute * toward;
    for (double t = mid + step; std::fabs(t - mid) <= reach + 1e-9; t += step)
      if (f(t) >= 0) return toward < 0 ? Zero(f, t, t - step) : Zero(f, t - step, t);
    return kNoInstant;
  };
  return {side(-1), side(1)};
}

// Which part of [first, last] a body whose upper limb's height above the
// horizon is `up` (radians) sees: nothing when it stays below throughout.
template <class F>
std::optional<Visibility> Visible(F up, double first, double last) {
  const double step = 10 * kMinute;
  const int n = std::max(1, static_cast<int>(std::ceil((last - first) / step)));
  bool rises = false, sets = false, any = false;
  double before = up(first);
  any = before > 0;
  for (int k = 1; k <= n; ++k) {
    const double now = up(first + (last - first) * k / n);
    any = any || now > 0;
    rises = rises || (before <= 0 && now > 0);
    sets = sets || (before > 0 && now <= 0);
    before = now;
  }
  if (!any) return std::nullopt;
  if (rises && sets) return Visibility::RisesAndSets;
  if (rises) return Visibility::RisesDuring;
  if (sets) return Visibility::SetsDuring;
  return Visibility::Whole;
}

// The Moon's place against the Earth's shadow at one instant (radians).
struct Shadow {
  double distance;   // of the Moon's centre from the shadow's axis
  double moon;       // the Moon's semidiameter
  double penumbra;   // the radii of the shadow at the Moon's distance
  double umbra;
};

Shadow ShadowAt(const Tables& eph, double jd) {
  const Vec sun = GeoVector(eph, Sun, jd), moon = GeoVector(eph, Moon, jd);
  const double rm = Norm(moon), rs = Norm(sun);
  const double moon_parallax = std::asin(1 / rm), sun_parallax = std::asin(1 / rs);
  const double sun_sd = kSunSemidiameter1AU * kEarthRadiiPerAU / rs;
  const double axis = moon_parallax * kShadowEnlargement + sun_parallax;
  return {Angle(moon, Vec{-sun.x, -sun.y, -sun.z}), std::asin(kMoonRadius / rm), axis + sun_sd, axis - sun_sd};
}

std::optional<LunarEclipse> LunarEclipseNear(const Tables& eph, double full) {
  const Shadow s0 = ShadowAt(eph, full);
  // The least distance from the axis lies within 1 % of its value at opposition.
  if (0.99 * s0.distance > s0.penumbra + s0.moon) return std::nullopt;
  auto distance = [&](double t) { return ShadowAt(eph, t).distance; };
  const double greatest = Minimum(distance, full - 6 * kHour, full + 6 * kHour);
  const Shadow g = ShadowAt(eph, greatest);
  LunarEclipse e{};
  e.greatest = greatest;
  e.penumbral_magnitude = (g.penumbra + g.moon - g.distance) / (2 * g.moon);
  e.umbral_magnitude = (g.umbra + g.moon - g.distance) / (2 * g.moon);
  if (e.penumbral_magnitude <= 0) return std::nullopt;
  e.type = e.umbral_magnitude >= 1   ? LunarEclipseType::Total
           : e.umbral_magnitude > 0 ? LunarEclipseType::Partial
                                    : LunarEclipseType::Penumbral;
  e.contact.fill(kNoInstant);
  const double reach = 5 * kHour;
  std::tie(e.contact[P1], e.contact[P4]) = Contacts(
      [&](double t) { const Shadow s = ShadowAt(eph, t); return s.distance - (s.penumbra + s.moon); }, greatest, reach);
  if (e.type != LunarEclipseType::Penumbral)
    std::tie(e.contact[U1], e.contact[U4]) = Contacts(
        [&](double t) { const Shadow s = ShadowAt(eph, t); return s.distance - (s.umbra + s.moon); }, greatest, reach);
  if (e.type == LunarEclipseType::Total)
    std::tie(e.contact[U2], e.contact[U3]) = Contacts(
        [&](double t) { const Shadow s = ShadowAt(eph, t); return s.distance - (s.umbra - s.moon); }, greatest, reach);
  return e;
}

// The Sun and the Moon seen from the site at one instant (radians).
struct SunMoon {
  double distance;  // of the centres
  double sun, moon; // semidiameters
  Vec sun_topo;
};

SunMoon SunMoonAt(const Tables& eph, const Observer& o, double jd) {
  const Vec at = o.At(jd);
  const Vec sun = GeoVector(eph, Sun, jd) - at, moon = GeoVector(eph, Moon, jd) - at;
  return {Angle(sun, moon), kSunSemidiameter1AU * kEarthRadiiPerAU / Norm(sun), std::asin(kMoonRadius / Norm(moon)),
          sun};
}

// The fraction of the Sun's disc (radius r) that the Moon's (radius m) covers at distance d.
double Obscuration(double d, double r, double m) {
  if (d >= r + m) return 0;
  if (d <= std::fabs(m - r)) return m >= r ? 1 : (m * m) / (r * r);
  const double a = std::acos((d * d + r * r - m * m) / (2 * d * r));
  const double b = std::acos((d * d + m * m - r * r) / (2 * d * m));
  const double lens = r * r * (a - std::sin(2 * a) / 2) + m * m * (b - std::sin(2 * b) / 2);
  return lens / (kPi * r * r);
}

std::optional<SolarEclipse> SolarEclipseNear(const Tables& eph, const Site& site, double new_moon) {
  // Seen from anywhere, the Moon stands at most its parallax from its geocentric place.
  const Vec sun0 = GeoVector(eph, Sun, new_moon), moon0 = GeoVector(eph, Moon, new_moon);
  const double reach0 = std::asin(1 / Norm(moon0)) + std::asin(kMoonRadius / Norm(moon0)) +
                        kSunSemidiameter1AU * kEarthRadiiPerAU / Norm(sun0);
  if (0.99 * Angle(sun0, moon0) > reach0) return std::nullopt;
  const Observer o(site, new_moon);
  // The contacts lie within 5 hours either side (the maximum within the
  // search's 4, a partial phase lasts at most 2.5 hours either side of it),
  // where the Sun's altitude changes by at most 75°.
  if (o.Altitude(SunMoonAt(eph, o, new_moon).sun_topo, new_moon) < -80 * kDegToRad) return std::nullopt;
  auto outside = [&](double t) { const SunMoon s = SunMoonAt(eph, o, t); return s.distance - (s.sun + s.moon); };
  const std::optional<double> found =
      SampledMinimum(outside, new_moon - 4 * kHour, new_moon + 4 * kHour, 15 * kMinute, kHalfStepMotion);
  if (!found || outside(*found) >= 0) return std::nullopt;
  const double maximum = *found;
  const SunMoon m = SunMoonAt(eph, o, maximum);
  SolarEclipse e{};
  e.maximum = maximum;
  e.magnitude = (m.sun + m.moon - m.distance) / (2 * m.sun);
  e.obscuration = Obscuration(m.distance, m.sun, m.moon);
  e.contact.fill(kNoInstant);
  const double reach = 4 * kHour;
  std::tie(e.contact[C1], e.contact[C4]) = Contacts(outside, maximum, reach);
  e.type = SolarEclipseType::Partial;
  if (m.distance < std::fabs(m.moon - m.sun)) {
    e.type = m.moon > m.sun ? SolarEclipseType::Total : SolarEclipseType::Annular;
    std::tie(e.contact[C2], e.contact[C3]) = Contacts(
        [&](double t) { const SunMoon s = SunMoonAt(eph, o, t); return s.distance - std::fabs(s.moon - s.sun); },
        maximum, reach);
  }
  auto altitude = [&](double t) { return o.Altitude(SunMoonAt(eph, o, t).sun_topo, t); };
  for (int c = 0; c < kSolarContacts; ++c)
    e.altitude[c] = std::isnan(e.contact[c]) ? kNoInstant : altitude(e.contact[c]) * kRadToDeg;
  e.maximum_altitude = altitude(maximum) * kRadToDeg;
  const std::optional<Visibility> seen = Visible(
      [&](double t) {
        const SunMoon s = SunMoonAt(eph, o, t);
        return o.Altitude(s.sun_topo, t) + s.sun - kHorizon;
      },
      e.contact[C1], e.contact[C4]);
  if (!seen) return std::nullopt;
  e.visibility = *seen;
  return e;
}

// The Moon's topocentric vector and semidiameter (radians) at `jd`.
struct MoonSeen {
  Vec moon;
  double semidiameter;
};
MoonSeen MoonSeenAt(const Tables& eph, const Observer& o, double jd) {
  const Vec v = GeoVector(eph, Moon, jd) - o.At(jd);
  return {v, std::asin(kMoonRadius / Norm(v))};
}

double MoonUp(const Tables& eph, const Observer& o, double jd) {
  const MoonSeen m = MoonSeenAt(eph, o, jd);
  return o.Altitude(m.moon, jd) + m.semidiameter - kHorizon;
}

std::optional<SiteLunarEclipse> SeenLunarEclipse(const Tables& eph, const Site& site, const LunarEclipse& e) {
  const Observer o(site, e.greatest);
  const std::optional<Visibility> seen =
      Visible([&](double t) { return MoonUp(eph, o, t); }, e.First(), e.Last());
  if (!seen) return std::nullopt;
  SiteLunarEclipse s{e, {}, 0, *seen};
  auto altitude = [&](double t) { return o.Altitude(MoonSeenAt(eph, o, t).moon, t) * kRadToDeg; };
  for (int c = 0; c < kLunarContacts; ++c)
    s.altitude[c] = std::isnan(e.contact[c]) ? kNoInstant : altitude(e.contact[c]);
  s.greatest_altitude = altitude(e.greatest);
  return s;
}

std::optional<Occultation> OccultationNear(const Tables& eph, const Site& site, const CloseApproach& a) {
  // Seen from anywhere, the Moon stands at most its parallax from its geocentric place.
  const Vec moon0 = GeoVector(eph, Moon, a.instant);
  if (a.separation * kDegToRad > std::asin(1 / Norm(moon0)) + std::asin(kMoonRadius / Norm(moon0)) + 0.2 * kDegToRad)
    return std::nullopt;
  const Observer o(site, a.instant);
  // Disappearance and reappearance lie within 4 hours either side (the
  // closest approach within the search's 3, the planet behind the Moon for
  // at most 2 hours), where the Moon's altitude changes by at most 60°.
  if (MoonUp(eph, o, a.instant) < -62 * kDegToRad) return std::nullopt;
  auto inside = [&](double t) {
    const MoonSeen m = MoonSeenAt(eph, o, t);
    return Angle(m.moon, GeoVector(eph, a.other, t) - o.At(t)) - m.semidiameter;
  };
  const std::optional<double> found =
      SampledMinimum(inside, a.instant - 3 * kHour, a.instant + 3 * kHour, 15 * kMinute, kHalfStepMotion);
  if (!found || inside(*found) >= 0) return std::nullopt;
  const double closest = *found;
  const auto [in, out] = Contacts(inside, closest, 3 * kHour);
  if (std::isnan(in) || std::isnan(out)) return std::nullopt;
  if (MoonUp(eph, o, in) <= 0 && MoonUp(eph, o, out) <= 0) return std::nullopt;
  auto altitude = [&](double t) { return o.Altitude(MoonSeenAt(eph, o, t).moon, t) * kRadToDeg; };
  return Occultation{a.other, in, out, altitude(in), altitude(out)};
}

// The longitude difference `a` − `b` (degrees) in (−180, 180].
double LongitudeDifference(double a, double b) {
  double d = a - b;
  if (d > 180 || d <= -180) {  // the remainder only when needed
    d = std::fmod(d, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
  }
  return d;
}

// The pairs searched for close approaches: the Moon with each planet, then
// each two planets, and the separation below which an approach counts.
struct ApproachPair {
  int a, b;
  double limit;
};

std::vector<ApproachPair> ApproachPairs() {
  std::vector<ApproachPair> pairs;
  for (int p = Mercury; p <= Neptune; ++p) {
    if (p == Moon) continue;
    pairs.push_back({Moon, p, kMoonApproachLimit});
    for (int q = p + 1; q <= Neptune; ++q)
      if (q != Moon) pairs.push_back({p, q, kPlanetApproachLimit});
  }
  return pairs;
}

// The conjunction in longitude of `pair` whose sign change lies between rows
// `row` − 1 and `row`, when closer than its limit; `rising`: a's longitude
// gains on b's.
void Approach(const Tables& eph, const ApproachPair& pair, int row, bool rising, std::vector<CloseApproach>& out) {
  const int a = pair.a, b = pair.b;
  // The instant on the difference interpolated over six rows.
  const int first = std::clamp(row - kRefineRows / 2, 1, eph.rows - kRefineRows + 1);
  std::array<double, kRefineRows> d{};
  for (int k = 0; k < kRefineRows; ++k) {
    d[k] = LongitudeDifference(eph.at(a, first + k).ecl_lon, eph.at(b, first + k).ecl_lon);
    if (k > 0 && d[k] - d[k - 1] > 180) d[k] -= 360;
    if (k > 0 && d[k] - d[k - 1] < -180) d[k] += 360;
  }
  auto at = [&](double x) {
    const std::array<double, kRefineRows> w = LagrangeWeights(x);
    double v = 0;
    for (int k = 0; k < kRefineRows; ++k) v += w[k] * d[k];
    return v;
  };
  const double x = Zero(at, row - 1 - first, row - first);  // offset from row `first`, hours
  const double jd = eph.at(a, first).jd + x * kHour;
  const double separation = Angle(GeoVector(eph, a, jd), GeoVector(eph, b, jd)) * kRadToDeg;
  if (separation < pair.limit) out.push_back({rising ? a : b, rising ? b : a, jd, separation});
}

// Every conjunction in longitude closer than its limit of every pair, pair
// by pair, each in time order.
std::vector<CloseApproach> Conjunctions(const Tables& eph) {
  std::vector<CloseApproach> all;
  for (const ApproachPair& pair : ApproachPairs()) {
    // The most the difference moves in a row (an hour), degrees, with room
    // to spare: the Moon's longitude moves up to 0.7° an hour, Mercury's 0.1°.
    const double most = pair.a == Moon ? 1.0 : 0.25;
    const auto difference = [&](int row) {
      return LongitudeDifference(eph.at(pair.a, row).ecl_lon, eph.at(pair.b, row).ecl_lon);
    };
    double prev = eph.rows > 0 ? difference(1) : 0;
    for (int row = 2; row <= eph.rows; ++row) {
      const double now = difference(row);
      // A change of sign near 0°, not the step across ±180°.
      if (((prev < 0 && now >= 0) || (prev > 0 && now <= 0)) && std::fabs(now - prev) < 90)
        Approach(eph, pair, row, now > prev, all);
      prev = now;
      // The rows in which the difference cannot reach 0° are passed over to
      // the last of them, from which the scan goes on.
      const double pass = std::floor(std::fabs(now) / most) - 1;
      if (pass >= 1) {
        row += static_cast<int>(std::min(pass, static_cast<double>(eph.rows - row)));
        prev = difference(row);
      }
    }
  }
  return all;
}

}  // namespace

GlobalHeadlines FindGlobalHeadlines(const EphemerisStore& store, const std::vector<double>& syzygies) {
  const Tables eph{store, store.rows()};
  GlobalHeadlines g;
  for (const double t : syzygies) {
    // Full Moons only: the Moon stands opposite the Sun.
    if (Dot(GeoVector(eph, Sun, t), GeoVector(eph, Moon, t)) > 0) continue;
    if (auto e = LunarEclipseNear(eph, t)) g.lunar.push_back(*e);
  }
  g.approaches = Conjunctions(eph);
  std::sort(g.approaches.begin(), g.approaches.end(),
            [](const CloseApproach& x, const CloseApproach& y) { return x.instant < y.instant; });
  return g;
}

SiteHeadlines FindSiteHeadlines(const EphemerisStore& store, const std::vector<double>& syzygies,
                                const GlobalHeadlines& global, const Site& site) {
  const Tables eph{store, store.rows()};
  SiteHeadlines h;
  h.site = site;
  for (const LunarEclipse& e : global.lunar)
    if (auto s = SeenLunarEclipse(eph, site, e)) h.lunar.push_back(*s);
  for (const double t : syzygies) {
    if (Dot(GeoVector(eph, Sun, t), GeoVector(eph, Moon, t)) < 0) continue;  // new Moons only
    if (auto e = SolarEclipseNear(eph, site, t)) h.solar.push_back(*e);
  }
  for (const CloseApproach& a : global.approaches)
    if (a.body == Moon)
      if (auto o = OccultationNear(eph, site, a)) h.occultations.push_back(*o);
  return h;
}

std::vector<HeadlineSpan> HeadlineSpans(const SiteHeadlines& seen) {
  static constexpr std::string_view kLunar[] = {"P1", "U1", "U2", "U3", "U4", "P4"};
  static constexpr std::string_view kSolar[] = {"C1", "C2", "C3", "C4"};
  std::vector<HeadlineSpan> out;
  // The contacts that occur, the middle one put in its place in time.
  auto span = [&](double line, double first, double last, std::string_view middle, auto&& names, auto&& instants,
                  double magnitude) {
    HeadlineSpan h{line, first, last, {}, magnitude};
    for (std::size_t c = 0; c < std::size(names); ++c)
      if (!std::isnan(instants[c])) h.contacts.emplace_back(names[c], instants[c]);
    h.contacts.emplace_back(middle, line);
    std::stable_sort(h.contacts.begin(), h.contacts.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    out.push_back(std::move(h));
  };
  for (const SiteLunarEclipse& s : seen.lunar) {
    const LunarEclipse& e = s.eclipse;
    span(e.greatest, e.First(), e.Last(), "greatest", kLunar, e.contact,
         e.type == LunarEclipseType::Penumbral ? e.penumbral_magnitude : e.umbral_magnitude);
  }
  for (const SolarEclipse& e : seen.solar)
    span(e.maximum, e.contact[C1], e.contact[C4], "maximum", kSolar, e.contact, e.magnitude);
  for (const Occultation& o : seen.occultations)
    out.push_back({o.disappearance, o.disappearance, o.reappearance,
                   {{"disappearance", o.disappearance}, {"reappearance", o.reappearance}}, kNoInstant});
  return out;
}

std::optional<HeadlineSpan> HeadlineSpanAt(const SiteHeadlines& seen, double jd_ut) {
  for (HeadlineSpan& h : HeadlineSpans(seen))
    if (std::fabs(h.line - jd_ut) < 1.0 / 86400) return std::move(h);
  return std::nullopt;
}

}  // namespace vk
