#include "timecalc/numeric.h"

#include <cmath>

namespace vk {

double Atan2_YX(double y, double x) {
  if (x == 0 && y == 0) return 0;
  double a;
  if (std::fabs(x) > std::fabs(y))
    a = std::atan(std::fabs(y) / std::fabs(x));
  else
    a = kPi / 2 - std::atan(std::fabs(x) / std::fabs(y));
  if (x < 0) a = kPi - a;
  if (y < 0) a = -a;
  return a;
}

double ArcSin_Clamped(double x) {
  if (x > 1) x = 1;
  if (x < -1) x = -1;
  if (std::fabs(x) == 1) return x * kPi / 2;
  return std::atan(x / std::sqrt(1 - x * x));
}

double Mod_Positive(double x, double m) {
  const double q = x / m;
  const double r = m * (q - std::trunc(q));
  return r < 0 ? r + m : r;
}

UnitVector3 Unit_Vector(double lon, double sin_lat, double cos_lat) {
  return {std::cos(lon) * cos_lat, std::sin(lon) * cos_lat, sin_lat};
}

UnitVector3 Unit_Vector(double lon, double lat) { return Unit_Vector(lon, std::sin(lat), std::cos(lat)); }

double Angular_Distance(const UnitVector3& u, const UnitVector3& v) {
  const double d = std::sqrt((u.x - v.x) * (u.x - v.x) + (u.y - v.y) * (u.y - v.y) + (u.z - v.z) * (u.z - v.z)) / 2;
  const double s = std::sqrt((u.x + v.x) * (u.x + v.x) + (u.y + v.y) * (u.y + v.y) + (u.z + v.z) * (u.z + v.z)) / 2;
  return 4 * std::atan(d / (1 + s));
}

double Angular_Distance(double lon1, double lat1, double lon2, double lat2) {
  return Angular_Distance(Unit_Vector(lon1, lat1), Unit_Vector(lon2, lat2));
}

double GMST_Rad(double jd) {
  const double d = jd - 2451545.0;
  const double t = d / 36525;
  const double theta = 280.46061837 + 360.98564736629 * d + 0.000387933 * t * t - t * t * t / 38710000;
  return Mod_Positive(theta * kPi / 180, 2 * kPi);
}

double Altitude_Of_Hour_Angle(double sin_lat, double cos_lat, double dec, double ha) {
  return ArcSin_Clamped(sin_lat * std::sin(dec) + cos_lat * std::cos(dec) * std::cos(ha));
}

double Altitude_Rad(double jd, double ra, double dec, double east_lon, double lat) {
  return Altitude_Of_Hour_Angle(std::sin(lat), std::cos(lat), dec, GMST_Rad(jd) + east_lon - ra);
}

double Quad_Root(double y1, double y2, double y3) {
  const double a = y2 - y1, b = y3 - y2, c = b - a;
  double n = 0;
  for (int iter = 0; iter < 21; ++iter) {
    const double dn = -(2 * y2 + n * (a + b + c * n)) / (a + b + 2 * c * n);
    n += dn;
    if (std::fabs(dn) < 1e-14) break;
  }
  return n;
}

double Quad_Extremum_Pos(double y1, double y2, double y3) {
  const double a = y2 - y1, b = y3 - y2, c = b - a;
  return -(a + b) / (2 * c);
}

double Quad_Extremum_Value(double y1, double y2, double y3) {
  const double a = y2 - y1, b = y3 - y2, c = b - a;
  return y2 - (a + b) * (a + b) / (8 * c);
}

}  // namespace vk
