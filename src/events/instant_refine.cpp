#include "instant_refine.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "timecalc/numeric.h"

namespace vk {
namespace {

// Sidereal time per hour of UT, radians (360.98564736629° a day).
constexpr double kSiderealRadPerHour = 360.98564736629 / 24 * kDegToRad;

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

}  // namespace

std::array<double, kRefineRows> LagrangeWeights(double x) {
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

InstantRefiner::InstantRefiner(const EphemerisStore& eph, const BasicTable& basic, const Site& site,
                               const ObserverConstants& obs, int body)
    : eph_(eph), basic_(basic), site_(MakeSiteAngles(site, obs)), body_(body) {}

double InstantRefiner::Value(Crossing crossing, double level, int row, double n) const {
  // The first node: the instant lies between the middle two nodes where the table allows.
  int first = row + static_cast<int>(std::floor(n)) - (kRefineRows / 2 - 1);
  if (first > eph_.rows() - kRefineRows + 1) first = eph_.rows() - kRefineRows + 1;
  if (first < 1) first = 1;
  const std::array<double, kRefineRows> w = LagrangeWeights(row - first + n);
  const bool place = crossing != Crossing::HourAngle;
  const Nodes& nodes = NodesFrom(first);
  double ra = 0, dec = 0, delta = 0, diameter = 0;
  for (int k = 0; k < kRefineRows; ++k) {
    ra += w[k] * nodes.ra[k];
    if (!place) continue;
    dec += w[k] * nodes.dec[k];
    delta += w[k] * nodes.delta[k];
    diameter += w[k] * nodes.diameter[k];
  }
  // Geocentric hour angle from the apparent sidereal time at the instant.
  const double ha = Sidereal(row, n) - (nodes.ra0 + ra) * kHourToRad;
  if (!place) return std::sin(ha);
  const double alt = TopocentricAltitude(std::sin(ha), std::cos(ha), std::sin(dec * kDegToRad),
                                         std::cos(dec * kDegToRad), SinHorizontalParallax(delta), site_);
  return crossing == Crossing::UpperLimb ? alt - level + Semidiameter(diameter) : alt - level;
}

const InstantRefiner::Nodes& InstantRefiner::NodesFrom(int first) const {
  if (first == nodes_.first) return nodes_;
  nodes_.first = first;
  nodes_.ra0 = eph_.at(body_, first).ra;
  for (int k = 0; k < kRefineRows; ++k) {
    const tEphemerisRow& e = eph_.at(body_, first + k);
    // The right ascension continued across 24 h → 0 h.
    double r = e.ra - nodes_.ra0;
    if (r > 12) r -= 24;
    if (r < -12) r += 24;
    nodes_.ra[k] = r;
    nodes_.dec[k] = e.dec;
    nodes_.delta[k] = e.delta;
    nodes_.diameter[k] = e.diameter;
  }
  return nodes_;
}

double InstantRefiner::Sidereal(int row, double n) const {
  if (row != sidereal_row_) {
    sidereal_row_ = row;
    const double jd = eph_.at(body_, row).jd;
    sidereal_at_row_ = basic_.ApparentSidereal(row, jd) + site_.lon;
  }
  // The quadratic and cubic terms of the sidereal time change by under 1e-12 rad within hours.
  return sidereal_at_row_ + kSiderealRadPerHour * n;
}

std::optional<HourSpan> HourWithSignChange(double y1, double y2, double y3, double n) {
  auto change = [](double a, double b) { return (a <= 0 && b >= 0) || (a >= 0 && b <= 0); };
  if (n >= 0 && n <= 1 && change(y2, y3)) return HourSpan{0, 1};
  if (n >= -1 && n <= 0 && change(y1, y2)) return HourSpan{-1, 0};
  return std::nullopt;
}

double InstantRefiner::Refine(Crossing crossing, double level, int row, double n0, double slope, double curvature,
                              std::optional<HourSpan> within) const {
  const std::optional<double> x = Iterate(crossing, level, row, n0, slope, curvature);
  if (!within) return x.value_or(n0);
  if (x && *x >= within->from - kRefineTolerance && *x <= within->to + kRefineTolerance) return *x;
  return Bisect(crossing, level, row, *within).value_or(n0);
}

std::optional<HourSpan> InstantRefiner::CrossingsAround(Crossing crossing, double level, int row,
                                                        bool above) const {
  const double side = above ? 1 : -1;
  // Golden sections of the hour towards the turn, the quantity measured
  // towards zero: the least side · Value.
  const double g = (std::sqrt(5.0) - 1) / 2;
  double a = 0, b = 1;
  double c = b - g * (b - a), d = a + g * (b - a);
  double fc = side * Value(crossing, level, row, c), fd = side * Value(crossing, level, row, d);
  while (fc > 0 && fd > 0 && b - a > 0.5 / 3600) {
    if (fc < fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - g * (b - a);
      fc = side * Value(crossing, level, row, c);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + g * (b - a);
      fd = side * Value(crossing, level, row, d);
    }
  }
  if (fc > 0 && fd > 0) return std::nullopt;
  const double turn = fc <= 0 ? c : d;
  const std::optional<double> first = Bisect(crossing, level, row, {0, turn});
  const std::optional<double> second = Bisect(crossing, level, row, {turn, 1});
  if (!first || !second) return std::nullopt;
  return HourSpan{*first, *second};
}

std::optional<double> InstantRefiner::Bisect(Crossing crossing, double level, int row, HourSpan span) const {
  const double a = span.from, b = span.to;
  const double fa = Value(crossing, level, row, a);
  const double fb = Value(crossing, level, row, b);
  if (fa == 0) return a;
  if (fb == 0) return b;
  if (!(fa < 0 && fb > 0) && !(fa > 0 && fb < 0)) return std::nullopt;
  return BisectZero([&](double n) { return Value(crossing, level, row, n); }, a, b, fa, kRefineTolerance / 4);
}

std::optional<double> InstantRefiner::Iterate(Crossing crossing, double level, int row, double n0, double slope,
                               double curvature) const {
  double x0 = n0, f0 = Value(crossing, level, row, x0);
  if (f0 == 0) return n0;
  double x1 = n0 + 1.0 / 3600;
  if (slope != 0 && std::isfinite(slope)) {
    const double newton = n0 - f0 / slope;
    if (std::fabs(newton - n0) < kRefineTolerance) return newton;
    if (std::fabs(newton - n0) < 1) x1 = newton;
  }
  double f1 = Value(crossing, level, row, x1);
  for (int step = 0; step < 12; ++step) {
    if (f1 == f0 || !std::isfinite(f1)) return std::nullopt;
    const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
    if (!std::isfinite(x2) || std::fabs(x2 - n0) > 1) return std::nullopt;
    if (std::fabs(x2 - x1) < kRefineTolerance) return x2;
    // The secant's own error estimate, |f''/2f'| |x2 − x1| |x2 − x0|, with f''
    // from the hourly rows, a tenth of the tolerance for its uncertainty.
    const double f_slope = (f1 - f0) / (x1 - x0);
    if (std::fabs(curvature / (2 * f_slope)) * std::fabs(x2 - x1) * std::fabs(x2 - x0) < kRefineTolerance / 10)
      return x2;
    x0 = x1;
    f0 = f1;
    x1 = x2;
    f1 = Value(crossing, level, row, x1);
    if (f1 == 0) return x1;
  }
  return std::nullopt;
}

}  // namespace vk
