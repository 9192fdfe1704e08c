#include "timecalc/time_scales.h"

#include <erfa.h>

namespace vk {
namespace {

constexpr double kJd1972 = 2441317.5;   // 1972-01-01 00:00 UTC, the first integral leap-second offset
constexpr double kJd2000 = 2451544.5;   // 2000-01-01 00:00
constexpr double kDaysPerYear = 365.25;
constexpr double kTtMinusTai = 32.184;

}  // namespace

double DeltaTModelSeconds(double year) {
  if (year < 1961) {
    const double t = year - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
  }
  const double t = year - 1975;
  return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
}

double TtMinusUtcSeconds(double jd) {
  if (jd < kJd1972) return DeltaTModelSeconds(2000 + (jd - kJd2000) / kDaysPerYear);
  int iy = 0, im = 0, id = 0;
  double fd = 0, dat = 0;
  eraJd2cal(jd, 0, &iy, &im, &id, &fd);
  // Status 1 (a year past the table's release) still gives the last value.
  eraDat(iy, im, id, fd, &dat);
  return dat + kTtMinusTai;
}

}  // namespace vk
