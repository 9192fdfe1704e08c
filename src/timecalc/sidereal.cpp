#include "timecalc/sidereal.h"

#include <erfa.h>

#include <algorithm>
#include <cmath>

#include "timecalc/numeric.h"
#include "timecalc/time_scales.h"

namespace vk {
namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kNodeDays = 2;
constexpr int kNodes = 6;           // interpolated around an instant
constexpr int kNodesBefore = 2;     // nodes before the interval that holds the instant

double NodeJD(long n) { return kJ2000 + static_cast<double>(n) * kNodeDays; }

}  // namespace

double ApparentSiderealOffset(double jd) {
  const double tt = TtMinusUtcSeconds(jd) / 86400;
  const double gast = eraGmst06(jd, 0, jd, tt) + eraEe00b(jd, tt);
  return std::remainder(gast - GMST_Rad(jd), 2 * kPi);
}

ApparentSiderealSpan::ApparentSiderealSpan(double jd_from, double jd_to) {
  first_ = static_cast<long>(std::floor((jd_from - kJ2000) / kNodeDays)) - kNodesBefore;
  const long last = static_cast<long>(std::floor((std::max(jd_from, jd_to) - kJ2000) / kNodeDays)) + kNodes - kNodesBefore - 1;
  nodes_.reserve(static_cast<std::size_t>(last - first_ + 1));
  for (long n = first_; n <= last; ++n) nodes_.push_back(ApparentSiderealOffset(NodeJD(n)));
}

double ApparentSiderealSpan::Offset(double jd) const {
  const double x = (jd - kJ2000) / kNodeDays;
  const long cell = static_cast<long>(std::floor(x));
  const double t = x - static_cast<double>(cell);
  // The six nodes around the instant, kept within the span.
  const long count = static_cast<long>(nodes_.size());
  const long start = std::clamp(cell - kNodesBefore - first_, 0L, std::max(0L, count - kNodes));
  const double at = t + static_cast<double>(cell - first_ - start);  // the instant in node steps from `start`
  double sum = 0;
  for (int k = 0; k < kNodes; ++k) {
    double w = 1;
    for (int m = 0; m < kNodes; ++m)
      if (m != k) w *= (at - m) / (k - m);
    sum += w * nodes_[static_cast<std::size_t>(start + k)];
  }
  return sum;
}

}  // namespace vk
