// How the instants of rises, sets, meridian transits and twilights are found.
#pragma once

namespace vk {

enum class Interpolation {
  Classic,  // within the hourly rows: linear for twilights, three-point for rises, sets and transits
  Precise,  // the same windows, the instant then refined on the interpolated place
};

}  // namespace vk
