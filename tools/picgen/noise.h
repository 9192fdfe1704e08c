// Gradient noise in three dimensions, for surfaces that look the same from
// every side of a sphere.
#pragma once
#include <array>
#include <cstdint>

#include "vec.h"

namespace picgen {

class Noise {
 public:
  explicit Noise(std::uint64_t seed);
  // Gradient noise at p, about -1 .. 1, smooth, period 256.
  double operator()(Vec3 p) const;
  // Sum of `octaves` layers, each of double frequency and `gain` times the
  // amplitude, normalised to about -1 .. 1.
  double fbm(Vec3 p, int octaves, double gain = 0.5) const;
  // Like fbm, but of |noise|, folded into ridges: 0 .. 1.
  double ridged(Vec3 p, int octaves, double gain = 0.5) const;

 private:
  std::array<std::uint8_t, 512> perm_{};
};

}  // namespace picgen
