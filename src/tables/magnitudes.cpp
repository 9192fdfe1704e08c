#include "magnitudes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vk::ephemgen {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void Pole(double ra_deg, double dec_deg, double n[3]) {
  n[0] = std::cos(dec_deg * kDeg) * std::cos(ra_deg * kDeg);
  n[1] = std::cos(dec_deg * kDeg) * std::sin(ra_deg * kDeg);
  n[2] = std::sin(dec_deg * kDeg);
}

// Latitude (degrees) of a direction u above the plane normal to n.
double LatitudeDeg(const double n[3], const double u[3]) {
  return std::asin(std::clamp(Dot(n, u), -1.0, 1.0)) / kDeg;
}

}  // namespace

double SaturnRingTilt(const tMagnitudeGeometry& g) {
  double n[3];
  Pole(40.589 - 0.036 * g.t_centuries, 83.537 - 0.004 * g.t_centuries, n);
  const double b_sun = LatitudeDeg(n, g.to_sun);
  const double b_earth = LatitudeDeg(n, g.to_earth);
  const double product = b_sun * b_earth;
  return product > 0 ? std::sqrt(product) : 0.0;
}

double UranusSubLatitude(const tMagnitudeGeometry& g) {
  constexpr double kFlattening = 0.0229;
  double n[3];
  Pole(257.311, -15.175, n);
  auto graphic = [&](const double u[3]) {
    const double centric = LatitudeDeg(n, u) * kDeg;
    return std::atan(std::tan(centric) / ((1 - kFlattening) * (1 - kFlattening))) / kDeg;
  };
  return (std::fabs(graphic(g.to_sun)) + std::fabs(graphic(g.to_earth))) / 2;
}

double ApparentMagnitude(int body, const tMagnitudeGeometry& g) {
  const double a = g.alpha_deg;
  const double d5 = body == 0 ? 0.0 : 5 * std::log10(g.r_au * g.delta_au);
  switch (body) {
    case 0:  // Sun
      return 4.83 - 5 + 5 * std::log10(g.delta_au / 206264.806);
    case 1:  // Mercury
      return -0.613 + d5 +
             a * (6.328e-2 + a * (-1.6336e-3 + a * (3.3644e-5 + a * (-3.4265e-7 + a * (1.6893e-9 + a * -3.0334e-12)))));
    case 2:  // Venus
      if (a < 163.7) return -4.384 + d5 + a * (-1.044e-3 + a * (3.687e-4 + a * (-2.814e-6 + a * 8.938e-9)));
      return 236.05828 + d5 + a * (-2.81914 + a * 8.39034e-3);
    case 3:  // Moon
      return 0.21 + d5 + 0.026 * a + 4e-9 * a * a * a * a;
    case 4:  // Mars
      if (a <= 50) return -1.601 + d5 + a * (2.267e-2 + a * -1.302e-4);
      return -0.367 + d5 + a * (-0.02573 + a * 3.445e-4);
    case 5: {  // Jupiter
      if (a <= 12) return -9.395 + d5 + a * (-3.7e-4 + a * 6.16e-4);
      const double x = a / 180;
      const double p = 1 + x * (-1.507 + x * (-0.363 + x * (-0.062 + x * (2.809 + x * -1.876))));
      return -9.428 + d5 - 2.5 * std::log10(p);
    }
    case 6: {  // Saturn, globe and rings
      const double sb = std::sin(SaturnRingTilt(g) * kDeg);
      return -8.914 + d5 - 1.825 * sb + 0.026 * a - 0.378 * sb * std::exp(-2.25 * a);
    }
    case 7: {  // Uranus
      double m = -7.110 + d5 - 8.4e-4 * UranusSubLatitude(g);
      if (a > 3.1) m += a * (6.587e-3 + a * 1.045e-4);
      return m;
    }
    case 8: {  // Neptune
      double m = std::clamp(-6.89 - 0.0054 * (g.year - 1980), -7.00, -6.89) + d5;
      if (a > 1.9) m += a * (7.944e-3 + a * 9.617e-5);
      return m;
    }
    default:
      return std::numeric_limits<double>::quiet_NaN();
  }
}

}  // namespace vk::ephemgen
