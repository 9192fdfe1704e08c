#include "tables/phase_table.h"

#include <cmath>

#include "base/number_text.h"

namespace vk::ephemgen {
namespace {

double Mod360(double x) {
  double r = std::fmod(x, 360.0);
  if (r < 0) r += 360;
  return r;
}

int Picture(double phi_deg) {
  const long long k = std::llround(phi_deg / 10) % 36;
  return static_cast<int>(k < 0 ? k + 36 : k);
}

}  // namespace

int MoonPhaseIndex(double moon_lon_deg, double sun_lon_deg) {
  return Picture(Mod360(moon_lon_deg - sun_lon_deg));
}

int InnerPlanetPhaseIndex(double phase_angle_deg, double lon_deg, double sun_lon_deg) {
  const bool east = Mod360(lon_deg - sun_lon_deg) < 180;
  return Picture(east ? 180 - phase_angle_deg : 180 + phase_angle_deg);
}

std::string PhaseFileLine(double day_jd, int moon, int mercury, int venus) {
  return FormatFixed(day_jd, 1) + ' ' + std::to_string(moon) + ' ' + std::to_string(mercury) + ' ' +
         std::to_string(venus) + "\r\n";
}

}  // namespace vk::ephemgen
