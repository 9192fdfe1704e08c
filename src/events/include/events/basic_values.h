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
  double sin_ha;     // its sine
  double d_ra;       // parallax in right ascension, radians
  double ra_topo;    // topocentric right ascension, hours
  double dec_topo;   // topocentric declination, degrees
  double alt;        // topocentric geometric altitude, degrees, no refraction
  double d_lon;      // ecliptic longitude minus the Sun's, radians (0 for the Sun)
  double sin_d_lon;
  double cos_d_lon;
  double elong;      // geocentric elongation from the Sun, degrees
};

// The basic values of one row that the event passes read.
struct tBasicRow {
  double ra;         // right ascension, hours
  double sin_ha;     // sine of the geocentric hour angle
  double alt;        // topocentric geometric altitude, degrees, no refraction (see ComputeSiteValues)
  double elong;      // geocentric elongation from the Sun, degrees
  double sin_d_lon;  // sine and cosine of the ecliptic longitude minus the Sun's
  double cos_d_lon;
};

// Basic values of all bodies and rows, indexed like the ephemeris tables; allocated once.
class BasicTable {
 public:
  BasicTable();
  const tBasicRow& at(int body, int row) const { return rows_[index(body, row)]; }
  tBasicRow& at(int body, int row) { return rows_[index(body, row)]; }

 private:
  static std::size_t index(int body, int row) {
    return static_cast<std::size_t>(body) * kEphemerisRows + static_cast<std::size_t>(row - 1);
  }
  struct SinCos {
    double sin, cos;
  };
  struct RowTime {
    double jd;    // Julian day UT of the Sun's row
    double gmst;  // its mean sidereal time, radians
  };
  std::unique_ptr<tBasicRow[]> rows_;
  // The Sun's geocentric unit vector of every row, filled with the Sun's basic values.
  std::unique_ptr<UnitVector3[]> sun_unit_;
  // Sine and cosine of every row's declination, and the sidereal time of every row.
  std::unique_ptr<SinCos[]> dec_;
  std::unique_ptr<RowTime[]> time_;
  friend void PrepareBasicValues(const EphemerisStore&, int, BasicTable&, int, int);
  friend void ComputeSiteValues(const EphemerisStore&, const Site&, const ObserverConstants&, int, BasicTable&, int,
                                int);
};

// Fills the basic values of rows first … last of `body` from the ephemeris
// rows of that body and of the Sun; the Sun's rows must be filled before
// another body's same rows. Never fails; rows with Δ = 0 give
// non-finite values. The same as PrepareBasicValues, then ComputeSiteValues.
void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first = 1, int last = kEphemerisRows);

// Fills the values of rows first … last of `body` that do not depend on the
// site: ra, sin_d_lon, cos_d_lon, elong, and kept for
// ComputeSiteValues the sine and cosine of the declination and (from the
// Sun's rows) the sidereal time of each row. The Sun's rows must be prepared
// before another body's same rows. Never fails.
void PrepareBasicValues(const EphemerisStore& eph, int body, BasicTable& basic, int first = 1,
                        int last = kEphemerisRows);

// Fills the site's values of rows first … last of `body`: sin_ha (as
// TopocentricPlace gives it) and alt: TopocentricPlace's altitude in every
// row within two rows of one whose side of the passes' levels (the upper limb
// at the horizon; for the Sun also the three twilights) differs or is within
// the parallax, elsewhere the geocentric altitude, on the same side of those
// levels. From the values PrepareBasicValues left for the
// same ephemeris rows. Never fails.
void ComputeSiteValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                       BasicTable& basic, int first = 1, int last = kEphemerisRows);

}  // namespace vk
