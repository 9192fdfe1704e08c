// Quantities derived from every hourly ephemeris row for the current site.
#pragma once
#include <array>
#include <memory>
#include <optional>

#include "base/large_array.h"
#include "ephemeris/ephemeris_store.h"
#include "events/interpolation.h"
#include "fixed_events.h"
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
  double sin_ha;     // sine of the geocentric hour angle (see ComputeSiteValues)
  double alt;        // topocentric geometric altitude, degrees, no refraction (see ComputeSiteValues)
  double sin_d_lon;  // sine and cosine of the ecliptic longitude minus the Sun's
  double cos_d_lon;
};

// `last` of the functions below: the store's last row (eph.rows()).
inline constexpr int kLastRow = -1;

// Basic values of all bodies and rows, indexed like the ephemeris tables; allocated once.
class BasicTable {
 public:
  // Room for `capacity` rows a body, as the ephemeris store it is filled from.
  explicit BasicTable(int capacity = kMaxEphemerisRows);
  const tBasicRow& at(int body, int row) const { return rows_[index(body, row)]; }
  tBasicRow& at(int body, int row) { return rows_[index(body, row)]; }
  // The geocentric elongation from the Sun, degrees, of a row of Mercury or
  // Venus (`body`), the bodies whose passes read it. Unchecked.
  double elong(int body, int row) const { return elong_[elong_index(body, row)]; }
  double& elong(int body, int row) { return elong_[elong_index(body, row)]; }
  // The site-independent events of `body` as PrepareFixedEvents found them
  // for the prepared rows, or null when they have not been found since.
  const FixedEvents* fixed_events(int body) const {
    return fixed_[static_cast<std::size_t>(body)] ? &*fixed_[static_cast<std::size_t>(body)] : nullptr;
  }
  // Precise instants: whether the altitude of `body` may turn across one of the
  // passes' levels within three rows of `row` (ComputeSiteValues).
  bool turn(int body, int row) const { return turn_[index(body, row)] != 0; }
  // The transits of `body` kept from the last site (none after its row 1 is prepared).
  TransitMemo& transits(int body) { return transits_[static_cast<std::size_t>(body)]; }
  // Greenwich apparent minus mean sidereal time (ApparentSiderealOffset,
  // radians) at the instant `jd` of row `row`: kept from the Sun's prepared
  // row of that instant, else computed.
  double SiderealOffset(int row, double jd) const;
  // GMST_Rad(jd) plus SiderealOffset(row, jd), the mean part kept from the
  // Sun's prepared row as well.
  double ApparentSidereal(int row, double jd) const;

 private:
  std::size_t index(int body, int row) const {
    return static_cast<std::size_t>(body) * static_cast<std::size_t>(capacity_) + static_cast<std::size_t>(row - 1);
  }
  std::size_t elong_index(int body, int row) const {
    return (body == Venus ? static_cast<std::size_t>(capacity_) : 0) + static_cast<std::size_t>(row - 1);
  }
  int capacity_;
  // What the site's values need of each row apart from the site. The
  // declination's sine and cosine serve the topocentric place as well; the
  // rest is in single precision: enough for the side of a level, never a
  // value the passes read.
  struct GeoPlace {
    double sin_dec, cos_dec;  // of the declination
    float sin_h0, cos_h0;     // of the sidereal time minus the right ascension
    float lo, hi;            // sines just below the upper limb's level and above the lower limb's, less and more the parallax
  };
  struct RowTime {
    double jd;            // Julian day UT of the Sun's row; 0 before the row is prepared
    double gmst;          // its mean sidereal time, radians
    double sin_g, cos_g;  // of gmst
    double apparent;      // apparent minus mean sidereal time, radians
  };
  // The sidereal time of the Sun's row k when that row is prepared and of
  // the instant `jd` (then it serves another body's row), else null.
  const RowTime* sun_time(int k, double jd) const {
    const RowTime& t = time_[static_cast<std::size_t>(k)];
    return t.jd == jd && jd != 0 ? &t : nullptr;
  }
  LargeArray<tBasicRow> rows_;
  LargeArray<double> elong_;  // Mercury's rows, then Venus's
  LargeArray<unsigned char> turn_;
  // The Sun's geocentric unit vector of every row, filled with the Sun's basic values.
  LargeArray<UnitVector3> sun_unit_;
  LargeArray<GeoPlace> place_;
  // The sidereal time of every row.
  LargeArray<RowTime> time_;
  std::array<std::optional<FixedEvents>, kBodyCount> fixed_;
  std::array<TransitMemo, kBodyCount> transits_;
  friend void PrepareFixedEvents(const EphemerisStore&, BasicTable&, int);
  friend void PrepareBasicValues(const EphemerisStore&, int, BasicTable&, int, int);
  friend void ComputeSiteValues(const EphemerisStore&, const Site&, const ObserverConstants&, int, BasicTable&, int,
                                int, Interpolation, bool);
};

// Fills the basic values of rows first … last of `body` from the ephemeris
// rows of that body and of the Sun; the Sun's rows must be filled before
// another body's same rows. Never fails; rows with Δ = 0 give
// non-finite values. The same as PrepareBasicValues, then ComputeSiteValues.
void ComputeBasicValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                        BasicTable& basic, int first = 1, int last = kLastRow,
                        Interpolation mode = Interpolation::Precise);

// Fills the values of rows first … last of `body` that do not depend on the
// site: sin_d_lon, cos_d_lon, elong, and kept for ComputeSiteValues the
// angles of the geocentric place and (from the Sun's rows) the mean and the
// apparent sidereal time of each row. The Sun's rows must be prepared before another body's same
// rows. Preparing row 1 forgets the body's site-independent events. Never
// fails except std::bad_alloc.
void PrepareBasicValues(const EphemerisStore& eph, int body, BasicTable& basic, int first = 1,
                        int last = kLastRow);

// Fills the site's values of rows first … last of `body` from the values
// PrepareBasicValues left for the same ephemeris rows. alt is
// TopocentricPlace's altitude in row k when the geocentric place leaves its
// side of one of the passes' levels (the upper limb at the horizon; for the
// Sun also the three twilights, with `light` also the golden hour's bounds) uncertain or one of rows k − 1 … k + 2 lies
// on another side; elsewhere it is a value on the same side of every level.
// Likewise sin_ha is TopocentricPlace's when its sign is uncertain or one of
// rows k − 1 … k + 2 has the other sign, elsewhere a value of the same sign.
// Rows 1 … 3 have their own values throughout.
// These are the rows whose values the passes read; for `mode` Precise also
// the rows within three of a turn of the altitude that may reach a level
// between two rows that stay on one side of it, which turn() tells. The hour angle is formed
// from the mean sidereal time for `mode` Classic, from the apparent one (the
// right ascensions are apparent, of date) for Precise. Never fails.
void ComputeSiteValues(const EphemerisStore& eph, const Site& site, const ObserverConstants& obs, int body,
                       BasicTable& basic, int first = 1, int last = kLastRow,
                       Interpolation mode = Interpolation::Precise, bool light = false);

// Finds the site-independent events of `body` on its prepared rows (and the
// Sun's) and keeps them for RunEventPasses. Never fails except std::bad_alloc.
void PrepareFixedEvents(const EphemerisStore& eph, BasicTable& basic, int body);

}  // namespace vk
