// The daily phase table: which picture shows the Moon, Mercury and Venus.
#pragma once
#include <string>

namespace vk::ephemgen {

// The Moon's picture 0 … 35: round(D/10) mod 36 with D = (λ☾ − λ☉) mod 360,
// apparent ecliptic longitudes of date in degrees. 0 new, 18 full; below 18
// the lit limb is on the right (waxing). Never fails for finite input.
int MoonPhaseIndex(double moon_lon_deg, double sun_lon_deg);

// Picture 0 … 35 of Mercury or Venus: φ = 180 − α east of the Sun
// ((λ − λ☉) mod 360 < 180), 180 + α west; k = round(φ/10) mod 36.
// alpha_deg: phase angle Sun–planet–Earth. Never fails for finite input.
int InnerPlanetPhaseIndex(double phase_angle_deg, double lon_deg, double sun_lon_deg);

// One line of the phase file: the day's 0h JD with one decimal, the Moon's,
// Mercury's (0 … 35) and Venus's (1 + k, 1 … 36) picture indices, separated
// by blanks, ended with CR LF: "2459580.5 35 20 18\r\n". Never fails.
std::string PhaseFileLine(double day_jd, int moon, int mercury, int venus);

}  // namespace vk::ephemgen
