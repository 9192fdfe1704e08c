// Apparent geocentric places of the Sun, the Moon and the planets from the
// DE405 extract, with ERFA (IAU 2006/2000A precession-nutation).
#pragma once
#include <span>
#include <vector>

#include "constellations.h"
#include "tables/de405_extract.h"

namespace vk::ephemgen {

// The astronomical unit used for distances in the exports (IAU 2012), km.
inline constexpr double kAuKm = 149597870.700;

// Equatorial radius of body 0 … 8 (Sun … Neptune), km. The Sun: 695700 (IAU
// 2015 nominal). Returns 0 for an index outside 0 … 8.
double BodyRadiusKm(int body);

// What every body shares at one instant: time scales, the Earth and the Sun,
// and the rotations to the equator and the ecliptic of date.
struct tHourFrame {
  double utc1 = 0, utc2 = 0;  // UTC as a two-part Julian date (UT1 taken as UTC)
  double tt1 = 0, tt2 = 0;    // Terrestrial Time
  double tdb1 = 0, tdb2 = 0;  // Barycentric Dynamical Time
  double npb[3][3] = {};      // GCRS → true equator and equinox of date
  double ecl[3][3] = {};      // GCRS → true ecliptic and equinox of date
  tStateVector earth;         // barycentric, km, km/day
  tStateVector sun;           // barycentric, km, km/day
  double sun_apparent[3] = {};  // the Sun's apparent direction (GCRS unit vector)
  double sun_ecl_lon_deg = 0;   // the Sun's apparent ecliptic longitude of date, degrees
};

// The time-only terms of an instant that cost the most: the nutation's
// series (1365 terms) and TDB − TT's (787), both functions of TT alone.
struct tTimeTerms {
  double tt1 = 0, tt2 = 0;    // TT as a two-part Julian date
  double tdb_minus_tt_s = 0;  // eraDtdb at the geocentre, seconds
  double dpsi = 0, deps = 0;  // nutation in longitude and obliquity (IAU 2006/2000A), radians
};

// The terms of a UTC instant (utc1 + utc2, any split; utc1 = the day's 0h
// keeps the most precision), from the full series. TT = UTC +
// TtMinusUtcSeconds (the leap-second table from 1972, ΔT of a model before).
// Throws: Error "Date outside the calendar: …" for a Julian date ERFA refuses.
tTimeTerms ExactTimeTerms(double utc1, double utc2);

// The terms of a UTC instant from four `nodes` around it (in TT order, the
// instant best between the second and the third): TT exact, the series'
// values by the cubic through the nodes in TT. Nodes four hours apart keep
// them within 5e-12 rad (1e-6″, a twentieth of the exports' last digit of
// right ascension) and 1e-12 s of the series: the nutation's shortest
// periods are days. Throws: as ExactTimeTerms.
tTimeTerms InterpolatedTimeTerms(double utc1, double utc2, std::span<const tTimeTerms, 4> nodes);

// ⌊a / b⌋ for b > 0, negative `a` included.
int FloorDiv(int a, int b);

// The time terms of hours first_hour … end_hour − 1 counted from 00:00 UTC
// of Julian day `first_jd`: from the series at each hour, or, when
// `interpolate`, from nodes at every fourth hour (of the day's 0h, whatever
// the first hour) and InterpolatedTimeTerms between them: the same values
// for an hour whichever span it is asked in.
class TimeTermNodes {
 public:
  static constexpr int kNodeHours = 4;

  // Throws: as ExactTimeTerms, for a node.
  TimeTermNodes(double first_jd, int first_hour, int end_hour, bool interpolate);

  // The terms of hour `hour`, first_hour <= hour < end_hour. Throws: as ExactTimeTerms.
  tTimeTerms at(int hour) const;

 private:
  double first_jd_;
  bool interpolate_;
  int first_node_ = 0;
  std::vector<tTimeTerms> nodes_;
};

// The frame of a UTC instant whose time terms are `terms`: TDB = TT +
// terms.tdb_minus_tt_s; precession-nutation by eraPn06 with the terms'
// nutation. Throws: the extract's Error when it does not hold the instant.
tHourFrame MakeHourFrame(const De405Extract& eph, double utc1, double utc2, const tTimeTerms& terms);

// The same with the exact terms (ExactTimeTerms): as one eraPn06a.
// Throws: as ExactTimeTerms and the extract's Error.
tHourFrame MakeHourFrame(const De405Extract& eph, double utc1, double utc2);

// One body's place and the quantities of its export row.
struct tApparentPlace {
  double ra_hours = 0;              // apparent, true equator and equinox of date, [0, 24)
  double dec_deg = 0;               // apparent declination of date
  double astrometric_ra_hours = 0;  // ICRF, corrected for light time only, [0, 24)
  double astrometric_dec_deg = 0;
  double ecl_lon_deg = 0;           // apparent, true ecliptic and equinox of date, [0, 360)
  double ecl_lat_deg = 0;
  double delta_au = 0;              // distance from the Earth's centre (light-time corrected), au
  double light_time_min = 0;        // one-way light time, minutes
  double range_rate_km_s = 0;       // rate of change of that distance, km/s
  double helio_au = 0;              // distance from the Sun, au (0 for the Sun)
  double helio_rate_km_s = 0;       // its rate, km/s (0 for the Sun)
  double phase_angle_deg = 0;       // Sun–body–Earth, degrees 0 … 180 (0 for the Sun)
  double elongation_deg = 0;        // Sun–Earth–body, apparent directions, degrees (0 for the Sun)
  double illuminated_pct = 100;     // illuminated fraction of the disc, percent
  double diameter_arcsec = 0;       // angular diameter of the equatorial radius, arcsec
  double magnitude = 0;             // apparent visual magnitude
  bool east_of_sun = false;         // apparent ecliptic longitude 0 … 180° ahead of the Sun's
  char constellation[4] = {'?', '?', '?', '\0'};  // IAU abbreviation, astrometric direction
};

// The place of body 0 … 8 (Sun … Neptune) at the frame's instant: light time
// (4 iterations), the Sun's light deflection (not for the Sun, nor for a body
// behind the Sun's disc, whose light does not pass the Sun), annual
// aberration, the frame's precession-nutation; Mars … Neptune are their
// system barycentres.
// Throws: the extract's Error when it does not hold an instant needed;
//   Error "No such body" for an index outside 0 … 8.
tApparentPlace ApparentPlace(const De405Extract& eph, const ConstellationTable& constellations,
                             const tHourFrame& frame, int body);

}  // namespace vk::ephemgen
