// Exact instants of rises, sets, meridian transits and twilights between the
// hourly rows: the body's place is interpolated, the altitude or the hour
// angle computed at the instant itself, and the crossing found by iteration.
#pragma once
#include <array>
#include <limits>
#include <optional>

#include "basic_values.h"
#include "ephemeris/ephemeris_store.h"
#include "events/site.h"
#include "topocentric.h"

namespace vk {

// Hours after a row, from `from` to `to`.
struct HourSpan {
  double from, to;
};

// The hour, −1 … 0 or 0 … 1 after the middle row, in which the values y1,
// y2, y3 of three rows one hour apart change sign (a zero at a row counts
// for both sides) and which holds the offset n; nothing when none does.
std::optional<HourSpan> HourWithSignChange(double y1, double y2, double y3, double n);

// The quantity whose zero is the event.
enum class Crossing {
  CentreAltitude,  // topocentric altitude of the centre minus `level` (degrees): twilights
  UpperLimb,       // altitude minus (level − semidiameter): rises and sets, level = horizon altitude
  HourAngle,       // sine of the geocentric hour angle: upper meridian transit (level unused)
};

// Rows interpolated around an instant (Lagrange polynomial through equally spaced rows).
inline constexpr int kRefineRows = 6;
// The Lagrange weights of the nodes 0 … kRefineRows − 1 (one row apart) at x. Never fails.
std::array<double, kRefineRows> LagrangeWeights(double x);
// The iteration stops when a step is below this, hours (0.01 s).
inline constexpr double kRefineTolerance = 0.01 / 3600;

// One refiner per body and thread: it keeps the sidereal time of the last row it used.
class InstantRefiner {
 public:
  // `basic`: the apparent sidereal time of the rows (BasicTable::SiderealOffset).
  InstantRefiner(const EphemerisStore& eph, const BasicTable& basic, const Site& site, const ObserverConstants& obs,
                 int body);

  // The value of `crossing` at `n` hours after ephemeris row `row` (1 … kEphemerisRows),
  // from RA, Dec, distance and diameter interpolated over kRefineRows rows
  // (the rows nearest the instant, kept inside the table), the apparent
  // sidereal time at the instant and the parallax of the basic values (the same topocentric
  // place, computed as the difference of the body's and the observer's
  // geocentric vectors). Altitudes in degrees. Never fails.
  double Value(Crossing crossing, double level, int row, double n) const;

  // The zero of Value near n0 (hours after `row`): a Newton step from n0 with
  // `slope` (the change of Value per hour as the hourly rows give it; when 0
  // or not finite, a second point 1 s later is taken instead), then secant
  // steps until a step is below kRefineTolerance or the secant's error
  // estimate |f''/2f'|·|x2 − x1|·|x2 − x0|, with f'' = `curvature` (per hour²,
  // from the hourly rows; NaN: not used), is below a tenth of it.
  // `within`: the hours after `row` between which the hourly rows change
  // sign (see HourWithSignChange). A zero the iteration finds outside them
  // is another crossing (the neighbouring one near a grazing extreme); then,
  // and when the iteration fails, the zero between them is found by bisection.
  // Returns: the offset in hours; n0 itself when the iteration leaves
  // n0 ± 1 hour, meets a flat or non-finite value or has not converged
  // after 12 steps and no `within` is given or Value has the same sign at
  // both its ends. Never fails.
  double Refine(Crossing crossing, double level, int row, double n0, double slope = 0,
                double curvature = std::numeric_limits<double>::quiet_NaN(),
                std::optional<HourSpan> within = std::nullopt) const;

  // The two zeros of Value within the hour after `row` where it turns across
  // zero and back: Value is searched for its least (`above`: the hour's ends
  // lie above zero) or greatest value by golden sections until one lies on
  // the other side of zero, then each zero is found by bisection on its side.
  // Returns: the offsets in hours, the first crossing in `from`; nothing when
  // the turn stays on its side (to within 0.5 s of its instant). Never fails.
  std::optional<HourSpan> CrossingsAround(Crossing crossing, double level, int row, bool above) const;

 private:
  // Local apparent sidereal time (radians) at n hours after `row`, from the
  // row's value, kept for the calls of one refinement.
  double Sidereal(int row, double n) const;
  // The secant iteration of Refine alone; nothing where Refine keeps n0.
  std::optional<double> Iterate(Crossing crossing, double level, int row, double n0, double slope, double curvature) const;
  // The zero within `span` by bisection, or nothing when Value has the same
  // sign at both ends.
  std::optional<double> Bisect(Crossing crossing, double level, int row, HourSpan span) const;

  // The rows interpolated from row `first` on, the right ascension continued
  // from the first one's; kept for the calls of one refinement.
  struct Nodes {
    int first = 0;  // none yet
    double ra0;
    double ra[kRefineRows], dec[kRefineRows], delta[kRefineRows], diameter[kRefineRows];
  };
  const Nodes& NodesFrom(int first) const;

  const EphemerisStore& eph_;
  const BasicTable& basic_;
  const SiteAngles site_;
  mutable Nodes nodes_;
  mutable int sidereal_row_ = 0;
  mutable double sidereal_at_row_ = 0;
  const int body_;
};

// The zero of f between a and b (a < b) where f changes sign, fa = f(a), by
// bisection until the bracket is below `tolerance`. Never fails.
template <class F>
double BisectZero(F f, double a, double b, double fa, double tolerance) {
  while (b - a > tolerance) {
    const double m = (a + b) / 2, fm = f(m);
    if (fm == 0) return m;
    if ((fm < 0) == (fa < 0)) {
      a = m;
      fa = fm;
    } else {
      b = m;
    }
  }
  return (a + b) / 2;
}

// The slope (per table step) at offset n of the parabola through y1, y2, y3
// one step apart (offsets from the middle value, as Quad_Root). Never fails.
inline double Quad_Slope(double y1, double y2, double y3, double n) { return (y3 - y1) / 2 + (y1 - 2 * y2 + y3) * n; }

}  // namespace vk
