// Small 3-vector and random-number helpers of the picture generator.
#pragma once
#include <cmath>
#include <cstdint>

namespace picgen {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline Vec3 operator*(double k, Vec3 a) { return a * k; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Normalize(Vec3 a) {
  const double l = Length(a);
  return l > 0 ? a * (1.0 / l) : Vec3{0, 0, 1};
}

constexpr double kPi = 3.14159265358979323846;
inline double Rad(double deg) { return deg * kPi / 180.0; }

// Body-fixed unit vector of latitude/longitude (degrees): x towards longitude
// +90 (right of the disc as seen), y to the north pole, z towards longitude 0
// (the viewer).
inline Vec3 FromLatLon(double lat_deg, double lon_deg) {
  const double b = Rad(lat_deg), l = Rad(lon_deg);
  return {std::cos(b) * std::sin(l), std::sin(b), std::cos(b) * std::cos(l)};
}

inline double Clamp(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }
inline double Mix(double a, double b, double t) { return a + (b - a) * t; }
inline Vec3 Mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }
inline double SmoothStep(double e0, double e1, double x) {
  const double t = Clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Deterministic generator (splitmix64): the same seed gives the same pictures
// on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  // Uniformly distributed direction on the unit sphere.
  Vec3 direction() {
    const double z = uniform(-1.0, 1.0);
    const double phi = uniform(0.0, 2 * kPi);
    const double r = std::sqrt(1 - z * z);
    return {r * std::cos(phi), r * std::sin(phi), z};
  }

 private:
  std::uint64_t state_;
};

}  // namespace picgen
