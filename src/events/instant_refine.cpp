#include "events/instant_refine.h"

#include <array>
#include <cmath>

#include "timecalc/numeric.h"

namespace vk {
namespace {

// 1 / Π(k − m) over m ≠ k, for the nodes 0 … kRefineRows − 1.
const std::array<double, kRefineRows>& InverseDenominators() {
  static const std::array<double, kRefineRows> inv = [] {
    std::array<double, kRefineRows> a{};
    for (int k = 0; k < kRefineRows; ++k) {
      double d = 1;
      for (int m = 0; m < kRefineRows; ++m)
        if (m != k) d *= k - m;
      a[k] = 1 / d;
    }
    return a;
  }();
  return inv;
}

// The Lagrange weights of the nodes 0 … kRefineRows − 1 at x.
std::array<double, kRefineRows> Weights(double x) {
  std::array<double, kRefineRows + 1> before{}, after{};
  before[0] = 1;
  for (int k = 0; k < kRefineRows; ++k) before[k + 1] = before[k] * (x - k);
  after[kRefineRows] = 1;
  for (int k = kRefineRows - 1; k >= 0; --k) after[k] = after[k + 1] * (x - k);
  const auto& inv = InverseDenominators();
  std::array<double, kRefineRows> w{};
  for (int k = 0; k < kRefineRows; ++k) w[k] = before[k] * after[k + 1] * inv[k];
  return w;
}

}  // namespace

InstantRefiner::InstantRefiner(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body)
    : eph_(eph), site_(MakeSiteAngles(site, obs)), body_(body) {}

double InstantRefiner::Value(Crossing crossing, double level, int row, double n) const {
  // The first node: the instant lies between the middle two nodes where the table allows.
  int first = row + static_cast<int>(std::floor(n)) - (kRefineRows / 2 - 1);
  if (first > kEphemerisRows - kRefineRows + 1) first = kEphemerisRows - kRefineRows + 1;
  if (first < 1) first = 1;
  const std::array<double, kRefineRows> w = Weights(row - first + n);
  const double ra0 = eph_.at(body_, first).ra;
  double ra = 0, dec = 0, delta = 0, diameter = 0;
  for (int k = 0; k < kRefineRows; ++k) {
    const tEphemerisData& e = eph_.at(body_, first + k);
    // The right ascension continued across 24 h → 0 h.
    double r = e.ra - ra0;
    if (r > 12) r -= 24;
    if (r < -12) r += 24;
    ra += w[k] * r;
    dec += w[k] * e.dec;
    delta += w[k] * e.delta;
    diameter += w[k] * e.diameter;
  }
  tBasicValues v{};
  TopocentricPlace(eph_.at(body_, row).jd + n / 24, ra0 + ra, dec, delta, site_, v);
  switch (crossing) {
    case Crossing::CentreAltitude: return v.alt - level;
    case Crossing::UpperLimb: return v.alt - level + diameter / 7200;
    case Crossing::HourAngle: return std::sin(v.ha);
  }
  return 0;
}

double InstantRefiner::Refine(Crossing crossing, double level, int row, double n0) const {
  double x0 = n0, f0 = Value(crossing, level, row, x0);
  if (f0 == 0) return n0;
  double x1 = n0 + 1.0 / 3600, f1 = Value(crossing, level, row, x1);
  for (int step = 0; step < 12; ++step) {
    if (f1 == f0 || !std::isfinite(f1)) return n0;
    const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
    if (!std::isfinite(x2) || std::fabs(x2 - n0) > 1) return n0;
    if (std::fabs(x2 - x1) < kRefineTolerance) return x2;
    x0 = x1;
    f0 = f1;
    x1 = x2;
    f1 = Value(crossing, level, row, x1);
    if (f1 == 0) return x1;
  }
  return n0;
}

}  // namespace vk
