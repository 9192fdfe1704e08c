#include "apparent_place.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "magnitudes.h"
#include "base/error.h"
#include "timecalc/time_scales.h"

namespace vk::ephemgen {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr int kLightTimeIterations = 4;
constexpr double kDeflectionLimiter = 1e-6;

using Vec = std::array<double, 3>;

Vec Sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec Add(const Vec& a, const Vec& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double Norm(const Vec& a) { return std::sqrt(Dot(a, a)); }
Vec Scale(const Vec& a, double f) { return {a[0] * f, a[1] * f, a[2] * f}; }
Vec Unit(const Vec& a) { return Scale(a, 1 / Norm(a)); }
// The angle between two vectors, radians, accurate at 0 and π.
double Angle(const Vec& a, const Vec& b) {
  const Vec c{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  return std::atan2(Norm(c), Dot(a, b));
}

bool IsBody(int body) { return body >= 0 && body < 9; }

// Barycentric state of a body (the Moon's included) at TDB tdb1 + tdb2.
tStateVector BodyState(const De405Extract& eph, int body, double tdb1, double tdb2) {
  static constexpr De405Item kItem[9] = {De405Item::Sun,  De405Item::Mercury, De405Item::Venus,
                                         De405Item::Sun,  // the Moon: see below
                                         De405Item::Mars, De405Item::Jupiter, De405Item::Saturn,
                                         De405Item::Uranus, De405Item::Neptune};
  if (body == 3) return eph.MoonBarycentric(tdb1, tdb2);
  return eph.State(kItem[body], tdb1, tdb2);
}

// Where the light that reaches the Earth's centre at the frame's instant left
// the body, and the directions derived from it.
struct tGeometry {
  Vec d{};                 // body (at t − τ) minus Earth (at t), km
  double distance_km = 0;
  double tau_days = 0;     // light time
  tStateVector body;       // barycentric state at t − τ
  tStateVector sun;        // the Sun's barycentric state at t − τ
  Vec astrometric{};       // unit(d), ICRF
  Vec apparent{};          // after deflection and aberration, GCRS unit vector
};

tGeometry Geometry(const De405Extract& eph, const tHourFrame& f, int body) {
  const double c_km_day = eph.clight_km_s() * kSecondsPerDay;
  tGeometry g;
  double tau = 0;
  for (int i = 0; i < kLightTimeIterations; ++i) {
    g.tau_days = tau;
    g.body = BodyState(eph, body, f.tdb1, f.tdb2 - tau);
    g.d = Sub(g.body.p, f.earth.p);
    g.distance_km = Norm(g.d);
    tau = g.distance_km / c_km_day;
  }
  g.sun = body == 0 ? g.body : eph.State(De405Item::Sun, f.tdb1, f.tdb2 - g.tau_days);
  g.astrometric = Unit(g.d);

  // The Sun as seen from the Earth, at the frame's instant.
  const Vec sun_to_earth = Sub(f.earth.p, f.sun.p);
  const double em_au = Norm(sun_to_earth) / kAuKm;
  double p[3] = {g.astrometric[0], g.astrometric[1], g.astrometric[2]};
  double natural[3];
  // The Sun's own light is not deflected. A body behind the Sun's disc: its
  // light does not pass the Sun, and eraLd's deflection of a ray grazing the
  // Sun's centre would grow without bound there; the deflection at the limb
  // is taken down in proportion to the distance from the centre instead (as
  // for a ray through a disc of even density), continuous at the limb.
  const double sun_km = Norm(sun_to_earth);
  const Vec to_sun = Scale(Unit(sun_to_earth), -1);
  const double from_centre = Angle(g.astrometric, to_sun), limb = std::asin(BodyRadiusKm(0) / sun_km);
  if (body == 0) {
    std::memcpy(natural, p, sizeof natural);
  } else if (g.distance_km > sun_km && from_centre < limb) {
    // Away from the Sun's centre by 2 Rs / d · θ / θ_limb², the limb's value at θ_limb.
    const Vec away = Sub(g.astrometric, Scale(to_sun, Dot(g.astrometric, to_sun)));
    const double shift = 2 * ERFA_SRS / em_au * from_centre / (limb * limb);
    const Vec moved = Norm(away) > 0 ? Unit(Add(g.astrometric, Scale(Unit(away), shift))) : g.astrometric;
    for (int i = 0; i < 3; ++i) natural[i] = moved[i];
  } else {
    const Vec q = Unit(Sub(g.body.p, g.sun.p));
    const Vec e = Unit(sun_to_earth);
    double qq[3] = {q[0], q[1], q[2]}, ee[3] = {e[0], e[1], e[2]};
    eraLd(1.0, p, qq, ee, em_au, kDeflectionLimiter, natural);
  }
  double v[3];
  for (int i = 0; i < 3; ++i) v[i] = f.earth.v[i] / c_km_day;
  const double bm1 = std::sqrt(1 - (v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
  double apparent[3];
  eraAb(natural, v, em_au, bm1, apparent);
  g.apparent = {apparent[0], apparent[1], apparent[2]};
  return g;
}

// Longitude in [0, 360) and latitude, degrees, of a vector rotated by m.
void Spherical(const double m[3][3], const Vec& u, double& lon_deg, double& lat_deg) {
  double in[3] = {u[0], u[1], u[2]}, out[3];
  eraRxp(const_cast<double(*)[3]>(m), in, out);
  double lon = 0, lat = 0;
  eraC2s(out, &lon, &lat);
  lon_deg = eraAnp(lon) * ERFA_DR2D;
  if (lon_deg >= 360) lon_deg -= 360;
  lat_deg = lat * ERFA_DR2D;
}

}  // namespace

double BodyRadiusKm(int body) {
  static constexpr double kRadius[9] = {695700, 2440.53, 6051.8, 1737.4, 3396.19, 71492, 60268, 25559, 24764};
  return IsBody(body) ? kRadius[body] : 0.0;
}

namespace {

// The terms with TT alone filled; `fd`: the UTC fraction of the day.
tTimeTerms TtOfUtc(double utc1, double utc2, double& fd) {
  int iy = 0, im = 0, id = 0;
  if (eraJd2cal(utc1, utc2, &iy, &im, &id, &fd) != 0)
    throw Error("Date outside the calendar: UTC " + FormatJulianInstant(utc1, utc2));
  tTimeTerms t;
  t.tt1 = utc1;
  t.tt2 = utc2 + TtMinusUtcSeconds(utc1 + utc2) / kSecondsPerDay;
  return t;
}

}  // namespace

tTimeTerms ExactTimeTerms(double utc1, double utc2) {
  double fd = 0;
  tTimeTerms t = TtOfUtc(utc1, utc2, fd);
  t.tdb_minus_tt_s = eraDtdb(t.tt1, t.tt2, fd, 0, 0, 0);  // at the geocentre: the UT fraction takes no part
  eraNut06a(t.tt1, t.tt2, &t.dpsi, &t.deps);
  return t;
}

tTimeTerms InterpolatedTimeTerms(double utc1, double utc2, std::span<const tTimeTerms, 4> nodes) {
  double fd = 0;
  tTimeTerms t = TtOfUtc(utc1, utc2, fd);
  // Lagrange's cubic in TT, days from the instant (small numbers: no precision lost).
  double x[4], w[4];
  for (int i = 0; i < 4; ++i) x[i] = (nodes[i].tt1 - t.tt1) + (nodes[i].tt2 - t.tt2);
  for (int i = 0; i < 4; ++i) {
    w[i] = 1;
    for (int j = 0; j < 4; ++j)
      if (j != i) w[i] *= (0 - x[j]) / (x[i] - x[j]);
  }
  t.tdb_minus_tt_s = t.dpsi = t.deps = 0;
  for (int i = 0; i < 4; ++i) {
    t.tdb_minus_tt_s += w[i] * nodes[i].tdb_minus_tt_s;
    t.dpsi += w[i] * nodes[i].dpsi;
    t.deps += w[i] * nodes[i].deps;
  }
  return t;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

TimeTermNodes::TimeTermNodes(double first_jd, int first_hour, int end_hour, bool interpolate)
    : first_jd_(first_jd), interpolate_(interpolate) {
  if (!interpolate) return;
  // Hour h lies between nodes n − 1 … n + 2 of n = ⌊h / kNodeHours⌋.
  first_node_ = FloorDiv(first_hour, kNodeHours) - 1;
  const int last_node = FloorDiv(end_hour - 1, kNodeHours) + 2;
  for (int n = first_node_; n <= last_node; ++n) {
    const int hour = n * kNodeHours, day = FloorDiv(hour, 24);
    nodes_.push_back(ExactTimeTerms(first_jd + day, (hour - 24 * day) / 24.0));
  }
}

tTimeTerms TimeTermNodes::at(int hour) const {
  const int day = FloorDiv(hour, 24);
  const double utc1 = first_jd_ + day, utc2 = (hour - 24 * day) / 24.0;
  if (!interpolate_) return ExactTimeTerms(utc1, utc2);
  const auto n = static_cast<std::size_t>(FloorDiv(hour, kNodeHours) - 1 - first_node_);
  return InterpolatedTimeTerms(utc1, utc2, std::span<const tTimeTerms, 4>(&nodes_[n], 4));
}

tHourFrame MakeHourFrame(const De405Extract& eph, double utc1, double utc2) {
  return MakeHourFrame(eph, utc1, utc2, ExactTimeTerms(utc1, utc2));
}

tHourFrame MakeHourFrame(const De405Extract& eph, double utc1, double utc2, const tTimeTerms& terms) {
  tHourFrame f;
  f.utc1 = utc1;
  f.utc2 = utc2;
  f.tt1 = terms.tt1;
  f.tt2 = terms.tt2;
  f.tdb1 = f.tt1;
  f.tdb2 = f.tt2 + terms.tdb_minus_tt_s / kSecondsPerDay;

  // eraPn06a is eraNut06a and then this.
  double epsa = 0, rb[3][3], rp[3][3], rbp[3][3], rn[3][3];
  eraPn06(f.tt1, f.tt2, terms.dpsi, terms.deps, &epsa, rb, rp, rbp, rn, f.npb);
  std::memcpy(f.ecl, f.npb, sizeof f.ecl);
  eraRx(eraObl80(f.tt1, f.tt2) + terms.deps, f.ecl);

  f.earth = eph.Earth(f.tdb1, f.tdb2);
  f.sun = eph.State(De405Item::Sun, f.tdb1, f.tdb2);
  const tGeometry sun = Geometry(eph, f, 0);
  for (int i = 0; i < 3; ++i) f.sun_apparent[i] = sun.apparent[i];
  double lat = 0;
  Spherical(f.ecl, sun.apparent, f.sun_ecl_lon_deg, lat);
  return f;
}

tApparentPlace ApparentPlace(const De405Extract& eph, const ConstellationTable& constellations,
                             const tHourFrame& f, int body) {
  if (!IsBody(body)) throw Error("No such body: " + std::to_string(body));
  const tGeometry g = Geometry(eph, f, body);
  tApparentPlace a;

  double lon = 0, lat = 0;
  Spherical(f.npb, g.apparent, lon, lat);
  a.ra_hours = lon / 15;
  a.dec_deg = lat;
  const double identity[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Spherical(identity, g.astrometric, lon, lat);
  a.astrometric_ra_hours = lon / 15;
  a.astrometric_dec_deg = lat;
  Spherical(f.ecl, g.apparent, a.ecl_lon_deg, a.ecl_lat_deg);

  a.delta_au = g.distance_km / kAuKm;
  a.light_time_min = g.tau_days * 1440;
  a.range_rate_km_s = Dot(g.astrometric, Sub(g.body.v, f.earth.v)) / kSecondsPerDay;
  a.diameter_arcsec = 2 * std::asin(BodyRadiusKm(body) / g.distance_km) * ERFA_DR2AS;

  tMagnitudeGeometry m;
  m.delta_au = a.delta_au;
  m.t_centuries = ((f.tdb1 - ERFA_DJ00) + f.tdb2) / ERFA_DJC;
  m.year = 2000 + ((f.tt1 - ERFA_DJ00) + f.tt2) / ERFA_DJY;
  if (body != 0) {
    const Vec helio = Sub(g.body.p, g.sun.p);
    a.helio_au = Norm(helio) / kAuKm;
    a.helio_rate_km_s = Dot(Unit(helio), Sub(g.body.v, g.sun.v)) / kSecondsPerDay;
    const Vec to_sun = Sub(g.sun.p, g.body.p);
    const Vec to_earth = Sub(f.earth.p, g.body.p);
    a.phase_angle_deg = Angle(to_sun, to_earth) * ERFA_DR2D;
    a.illuminated_pct = 50 * (1 + std::cos(a.phase_angle_deg * ERFA_DD2R));
    const Vec sun_app{f.sun_apparent[0], f.sun_apparent[1], f.sun_apparent[2]};
    a.elongation_deg = Angle(g.apparent, sun_app) * ERFA_DR2D;
    a.east_of_sun = std::fmod(a.ecl_lon_deg - f.sun_ecl_lon_deg + 720, 360) < 180;
    m.r_au = a.helio_au;
    m.alpha_deg = a.phase_angle_deg;
    const Vec us = Unit(to_sun), ue = Unit(to_earth);
    std::copy(us.begin(), us.end(), m.to_sun);
    std::copy(ue.begin(), ue.end(), m.to_earth);
  }
  a.magnitude = ApparentMagnitude(body, m);

  const double dir[3] = {g.astrometric[0], g.astrometric[1], g.astrometric[2]};
  const std::string_view abbr = constellations.FindIcrf(dir);
  std::fill(std::begin(a.constellation), std::end(a.constellation), '\0');
  abbr.copy(a.constellation, 3);
  return a;
}

}  // namespace vk::ephemgen
