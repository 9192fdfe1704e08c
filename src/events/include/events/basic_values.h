// Quantities derived from every hourly ephemeris row for the current site.
#pragma once
#include <memory>

#include "ephemeris/ephemeris_store.h"
#include "events/site.h"
#include "timecalc/numeric.h"

namespace vk {

struct tBasicValues {
  double theta;      // local sidereal time, radians, not reduced
  double ra;         // right ascension, hours
  double dec;        // declination, degrees
  double sin_par;    // sine of the horizontal parallax
  double ha;         // geocentric hour angle, radians, not reduced
  double d_ra;       // parallax in right ascension, radians
  double ra_topo;    // topocentric right ascension, hours
  double dec_topo;   // topocentric declination, degrees
  double alt;        // topocentric geometric altitude, degrees, no refraction
  double d_lon;      // ecliptic longitude minus the Sun's, radians (0 for the Sun)
  double sin_d_lon;
  double cos_d_lon;
  double elong;      // geocentric elongation from the Sun, degrees
};

// Basic values of all bodies and rows, indexed like the ephemeris tables; allocated once.
class BasicTable {
 public:
  BasicTable();
  const tBasicValues& at(int body, int row) const { return rows_[index(body, row)]; }
  tBasicValues& at(int body, int row) { return rows_[index(body, row)]; }

 private:
  static std::size_t index(int body, int row) {
    return static_cast<std::size_t>(body) * kEphemerisRows + static_cast<std::size_t>(row - 1);
  }
  std::unique_ptr<tBasicValues[]> rows_;
  // The Sun's geocentric unit vector of every row, filled with the Sun's basic values.
  std::unique_ptr<UnitVector3[]> sun_unit_;
  friend void ComputeBasicValues(const EphemerisStore&, const Site&, const ObserverConstants&, int, BasicTable&, int,
                                 int);
};

// Fills the basic values of rows first … last of `body` from the ephemeris
// rows of that body and of the Sun; the Sun's rows must be filled before
// another body's same rows. Never fails; rows with Δ = 0 give
// non-finite values.
void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first = 1, int last = kEphemerisRows);

}  // namespace vk
