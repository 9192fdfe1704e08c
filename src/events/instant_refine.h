// Exact instants of rises, sets, meridian transits and twilights between the
// hourly rows: the body's place is interpolated, the altitude or the hour
// angle computed at the instant itself, and the crossing found by iteration.
#pragma once

#include "ephemeris/ephemeris_store.h"
#include "events/site.h"
#include "events/topocentric.h"

namespace vk {

// The quantity whose zero is the event.
enum class Crossing {
  CentreAltitude,  // topocentric altitude of the centre minus `level` (degrees): twilights
  UpperLimb,       // altitude minus (level − semidiameter): rises and sets, level = horizon altitude
  HourAngle,       // sine of the geocentric hour angle: upper meridian transit (level unused)
};

// Rows interpolated around an instant (Lagrange polynomial through equally spaced rows).
inline constexpr int kRefineRows = 8;
// The iteration stops when a step is below this, hours (0.01 s).
inline constexpr double kRefineTolerance = 0.01 / 3600;

class InstantRefiner {
 public:
  InstantRefiner(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body);

  // The value of `crossing` at `n` hours after ephemeris row `row` (1 … kEphemerisRows),
  // from RA, Dec, distance and diameter interpolated over kRefineRows rows
  // (the rows nearest the instant, kept inside the table), sidereal time at
  // the instant and the parallax of the basic values. Never fails.
  double Value(Crossing crossing, double level, int row, double n) const;

  // The zero of Value near n0 (hours after `row`) by the secant method
  // started at n0 and n0 + 1 s, stopped when a step is below kRefineTolerance.
  // Returns: the offset in hours; n0 itself when the iteration leaves
  // n0 ± 1 hour, meets a flat or non-finite value or has not converged
  // after 12 steps. Never fails.
  double Refine(Crossing crossing, double level, int row, double n0) const;

 private:
  const EphemerisStore& eph_;
  const SiteAngles site_;
  const int body_;
};

}  // namespace vk
