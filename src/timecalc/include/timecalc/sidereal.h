// Greenwich apparent sidereal time, as the offset to be added to GMST_Rad.
#pragma once
#include <vector>

namespace vk {

// Greenwich apparent sidereal time minus GMST_Rad at the instant jd (Julian
// day UTC, taken as UT1; TT = UTC + TtMinusUtcSeconds): the IAU 2006 mean sidereal
// time plus the IAU 2000B equation of the equinoxes (ERFA), within 0.2 ms of
// time of the IAU 2006/2000A apparent sidereal time. Radians in (−π, π];
// within ±1.2 s of time (±9e-5 rad) from 2000 to 2050. About 5 µs. Never fails.
double ApparentSiderealOffset(double jd);

// ApparentSiderealOffset over a span of instants, interpolated over six
// nodes two days apart (within 0.3 ms of time of the IAU 2006/2000A value).
// The nodes lie at fixed instants, so an instant gets the same value from
// every span that holds it.
class ApparentSiderealSpan {
 public:
  // Covers jd_from … jd_to (Julian days UTC). Throws std::bad_alloc only.
  ApparentSiderealSpan(double jd_from, double jd_to);
  // The offset at jd (radians); jd outside the span is extrapolated. Never fails.
  double Offset(double jd) const;

 private:
  long first_ = 0;             // number of the first node
  std::vector<double> nodes_;  // ApparentSiderealOffset at each node
};

}  // namespace vk
