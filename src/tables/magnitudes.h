// Apparent visual magnitudes of the Sun, the Moon and the planets.
#pragma once

namespace vk::ephemgen {

// What the magnitude laws need of one body at one instant.
struct tMagnitudeGeometry {
  double r_au = 0;         // heliocentric distance, au (0 for the Sun)
  double delta_au = 0;     // distance from the observer, au
  double alpha_deg = 0;    // phase angle Sun–body–observer, degrees 0 … 180
  double to_sun[3] = {};   // unit vector from the body to the Sun, ICRF
  double to_earth[3] = {}; // unit vector from the body to the observer, ICRF
  double t_centuries = 0;  // TDB, Julian centuries from J2000.0
  double year = 2000;      // TT as a decimal year
};

// Apparent visual magnitude of body 0 … 8 (Sun, Mercury, Venus, Moon, Mars,
// Jupiter, Saturn, Uranus, Neptune). The Sun: 4.83 − 5 + 5·log10(Δ/206264.806);
// the Moon: Allen's phase law 0.21 + 5·log10(rΔ) + 0.026α + 4e-9α⁴, used as it
// stands beyond α = 150° where it was not fitted; the planets: Mallama &
// Hilton (2018), with Saturn's rings from the saturnicentric latitudes of the
// Sun and the observer and Uranus's sub-latitude term.
// Returns: the magnitude; finite for r > 0, Δ > 0 and α in [0, 180]; NaN
//   for a body index outside 0 … 8.
double ApparentMagnitude(int body, const tMagnitudeGeometry& g);

// Effective ring tilt of Saturn, degrees: √(β☉·β⊕) of the saturnicentric
// latitudes of the Sun and the observer (pole α0 = 40.589 − 0.036T,
// δ0 = 83.537 − 0.004T), 0 when they lie on opposite sides of the rings.
double SaturnRingTilt(const tMagnitudeGeometry& g);

// Mean of the absolute planetographic latitudes of the sub-Sun and sub-observer
// points on Uranus, degrees (pole 257.311°, −15.175°; flattening 0.0229).
double UranusSubLatitude(const tMagnitudeGeometry& g);

}  // namespace vk::ephemgen
