// The place of a body for the observer at one instant: sidereal time, hour
// angle, parallax and topocentric altitude.
#pragma once

#include "basic_values.h"
#include "events/site.h"

namespace vk {

// The site's angles, computed once per site.
struct SiteAngles {
  double lon;      // east longitude, radians
  double sin_lat;
  double cos_lat;
  ObserverConstants obs;
};

SiteAngles MakeSiteAngles(const Site& site, const ObserverConstants& obs);

// Sine of the horizontal parallax of a body at `delta` au (8.794" at 1 au).
// Never fails; delta = 0 gives infinity.
double SinHorizontalParallax(double delta);

// Semidiameter in degrees of a body of apparent diameter `diameter` arcseconds.
inline double Semidiameter(double diameter) { return diameter / 7200; }

// Fills theta, ra, dec, sin_par, ha, sin_ha, d_ra, ra_topo, dec_topo and alt of `v`
// for the geocentric place (ra hours, dec degrees, delta au) at the instant
// jd (Julian day UT), with the hour angle from the mean sidereal time
// (GMST_Rad); the other fields are left as they are. The parallax is that of
// an observer at height 0; no refraction. Never fails; delta = 0 gives
// non-finite values.
void TopocentricPlace(double jd, double ra, double dec, double delta, const SiteAngles& site, tBasicValues& v);

// Fills theta, ha, sin_ha, d_ra, ra_topo, dec_topo and alt of `v` from its ra, dec
// and sin_par, with `sidereal` the Greenwich sidereal time of the instant
// (radians; GMST_Rad gives the same values as TopocentricPlace) and sin_dec,
// cos_dec those of v.dec. Never fails.
void TopocentricFromPlace(double sidereal, double sin_dec, double cos_dec, const SiteAngles& site, tBasicValues& v);
// The altitude alone of the topocentric place, degrees, no refraction, from
// the geocentric hour angle's sine and cosine, the declination's and the
// sine of the horizontal parallax: the body's direction in units of its
// distance less the observer's, without the angles of the topocentric place
// (TopocentricFromPlace gives the same altitude to rounding). Never fails;
// non-finite input gives non-finite output.
double TopocentricAltitude(double sin_ha, double cos_ha, double sin_dec, double cos_dec, double sin_par,
                           const SiteAngles& site);

}  // namespace vk
