#include "noise.h"

#include <cmath>
#include <numeric>

namespace picgen {
namespace {

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

double Grad(int hash, double x, double y, double z) {
  const int h = hash & 15;
  const double u = h < 8 ? x : y;
  const double v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
  return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

}  // namespace

Noise::Noise(std::uint64_t seed) {
  std::array<std::uint8_t, 256> p{};
  std::iota(p.begin(), p.end(), 0);
  Random rng(seed);
  for (int i = 255; i > 0; --i) {
    const int j = static_cast<int>(rng.next() % static_cast<std::uint64_t>(i + 1));
    std::swap(p[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(j)]);
  }
  for (std::size_t i = 0; i < 512; ++i) perm_[i] = p[i & 255];
}

double Noise::operator()(Vec3 pt) const {
  const double fx = std::floor(pt.x), fy = std::floor(pt.y), fz = std::floor(pt.z);
  const int X = static_cast<int>(fx) & 255, Y = static_cast<int>(fy) & 255, Z = static_cast<int>(fz) & 255;
  const double x = pt.x - fx, y = pt.y - fy, z = pt.z - fz;
  const double u = Fade(x), v = Fade(y), w = Fade(z);
  const auto P = [this](int i) { return static_cast<int>(perm_[static_cast<std::size_t>(i)]); };
  const int A = P(X) + Y, AA = P(A) + Z, AB = P(A + 1) + Z;
  const int B = P(X + 1) + Y, BA = P(B) + Z, BB = P(B + 1) + Z;
  return Mix(Mix(Mix(Grad(P(AA), x, y, z), Grad(P(BA), x - 1, y, z), u),
                 Mix(Grad(P(AB), x, y - 1, z), Grad(P(BB), x - 1, y - 1, z), u), v),
             Mix(Mix(Grad(P(AA + 1), x, y, z - 1), Grad(P(BA + 1), x - 1, y, z - 1), u),
                 Mix(Grad(P(AB + 1), x, y - 1, z - 1), Grad(P(BB + 1), x - 1, y - 1, z - 1), u), v),
             w);
}

double Noise::fbm(Vec3 p, int octaves, double gain) const {
  double sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * (*this)(p);
    norm += amp;
    amp *= gain;
    // A small rotation-like shuffle between octaves hides the lattice.
    p = Vec3{p.y * 2.03 + 17.1, p.z * 2.01 - 3.7, p.x * 1.99 + 9.3};
  }
  return sum / norm;
}

double Noise::ridged(Vec3 p, int octaves, double gain) const {
  double sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    const double n = 1 - std::fabs((*this)(p));
    sum += amp * n * n;
    norm += amp;
    amp *= gain;
    p = Vec3{p.y * 2.03 + 17.1, p.z * 2.01 - 3.7, p.x * 1.99 + 9.3};
  }
  return sum / norm;
}

}  // namespace picgen
