// Small numeric routines of the event search. Angles in radians unless stated.
#pragma once

namespace vk {

// Quadrant-correct arctangent of y/x. Returns: radians in (−π, π]; 0 for (0, 0).
double Atan2_YX(double y, double x);

// Arcsine with x clamped to [−1, 1]. Returns: radians in [−π/2, π/2].
double ArcSin_Clamped(double x);

// Remainder of x modulo m for m > 0. Returns: a value in [0, m).
double Mod_Positive(double x, double m);

// Angle between two directions given as longitude and latitude (radians),
// stable for tiny and for nearly opposite separations. Returns: radians in [0, π].
double Angular_Distance(double lon1, double lat1, double lon2, double lat2);

// The unit vector of a direction (longitude, latitude in radians), and the
// angle between two unit vectors by the same half-chord formula.
struct UnitVector3 {
  double x, y, z;
};
UnitVector3 Unit_Vector(double lon, double lat);
// As Unit_Vector, from the sine and cosine of the latitude.
UnitVector3 Unit_Vector(double lon, double sin_lat, double cos_lat);
double Angular_Distance(const UnitVector3& u, const UnitVector3& v);

// Greenwich mean sidereal time. jd: Julian day UT. Returns: radians in [0, 2π).
double GMST_Rad(double jd);

// Altitude of a direction for an observer. jd: Julian day UT; ra, dec, east
// longitude and latitude in radians. Returns: altitude in radians.
double Altitude_Rad(double jd, double ra, double dec, double east_lon, double lat);

// The same from the sine and cosine of the latitude, the declination and the
// local hour angle (radians). Returns: altitude in radians.
double Altitude_Of_Hour_Angle(double sin_lat, double cos_lat, double dec, double ha);

// Three-point interpolation of values y1, y2, y3 one table step apart. Offsets
// are in table steps from the middle value (−1 at y1, +1 at y3), not limited
// to [−1, 1].
// Quad_Root: the zero of the parabola by Newton iteration from 0 (at most 21
// steps). The caller guarantees y3 ≠ y1.
double Quad_Root(double y1, double y2, double y3);
// Quad_Extremum_Pos / _Value: the vertex offset and value. The caller
// guarantees y1 − 2·y2 + y3 ≠ 0.
double Quad_Extremum_Pos(double y1, double y2, double y3);
double Quad_Extremum_Value(double y1, double y2, double y3);

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegToRad = kPi / 180.0;
inline constexpr double kRadToDeg = 180.0 / kPi;
inline constexpr double kHourToRad = kPi / 12.0;
inline constexpr double kRadToHour = 12.0 / kPi;

}  // namespace vk
