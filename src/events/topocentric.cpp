#include "topocentric.h"

#include <cmath>

#include "timecalc/numeric.h"

namespace vk {

SiteAngles MakeSiteAngles(const Site& site, const ObserverConstants& obs) {
  const double lat = site.Site_nLat * kDegToRad;
  return {site.Site_eLon * kDegToRad, std::sin(lat), std::cos(lat), obs};
}

double SinHorizontalParallax(double delta) {
  static const double kSinParallax1AU = std::sin(8.794 / 3600 * kDegToRad);
  return kSinParallax1AU / delta;
}

void TopocentricPlace(double jd, double ra, double dec_deg, double delta, const SiteAngles& s, tBasicValues& v) {
  v.ra = ra;
  v.dec = dec_deg;
  v.sin_par = SinHorizontalParallax(delta);
  const double dec = v.dec * kDegToRad;
  TopocentricFromPlace(GMST_Rad(jd), std::sin(dec), std::cos(dec), s, v);
}

void TopocentricFromPlace(double sidereal, double sin_dec, double cos_dec, const SiteAngles& s, tBasicValues& v) {
  v.theta = sidereal + s.lon;
  v.ha = v.theta - v.ra * kHourToRad;
  v.sin_ha = std::sin(v.ha);
  const double sin_ha = v.sin_ha, cos_ha = std::cos(v.ha);
  // Topocentric place: the parallax correction for an observer at height 0.
  const double denom = cos_dec - s.obs.Obs_RhoCosPhi * v.sin_par * cos_ha;
  v.d_ra = Atan2_YX(-s.obs.Obs_RhoCosPhi * v.sin_par * sin_ha, denom);
  v.ra_topo = v.ra + v.d_ra * kRadToHour;
  v.dec_topo = Atan2_YX((sin_dec - s.obs.Obs_RhoSinPhi * v.sin_par) * std::cos(v.d_ra), denom) * kRadToDeg;
  // Altitude of the topocentric place.
  const double h = sidereal + s.lon - v.ra_topo * kHourToRad;
  v.alt = Altitude_Of_Hour_Angle(s.sin_lat, s.cos_lat, v.dec_topo * kDegToRad, h) * kRadToDeg;
}

double TopocentricAltitude(double sin_ha, double cos_ha, double sin_dec, double cos_dec, double sin_par,
                           const SiteAngles& s) {
  // x towards the meridian, z towards the pole.
  const double x = cos_dec * cos_ha - s.obs.Obs_RhoCosPhi * sin_par;
  const double y = cos_dec * sin_ha;
  const double z = sin_dec - s.obs.Obs_RhoSinPhi * sin_par;
  return ArcSin_Clamped((s.sin_lat * z + s.cos_lat * x) / std::sqrt(x * x + y * y + z * z)) * kRadToDeg;
}

}  // namespace vk
