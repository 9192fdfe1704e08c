// The large phase pictures: a body's surface seen face-on, stored per pixel
// as colour (albedo) and surface normal, then lit for each phase.
#pragma once
#include <cstdint>
#include <vector>

#include "pictures/bitmap24.h"
#include "vec.h"

namespace picgen {

enum class Body { Moon, Mercury, Venus };

// Where the disc lies in a square picture: centre (pixel edges, so 2048 is
// the line between pixels 2047 and 2048) and radius in pixels.
struct DiscGeometry {
  int size = 4096;
  double centre = 2048.0;
  double radius = 1990.0;
};

struct SurfaceMap {
  DiscGeometry geo;
  std::vector<float> albedo;  // R, G, B per pixel, linear, about 0 .. 1.2
  std::vector<float> normal;  // x, y, z per pixel (x right, y up, z to the viewer)
};

// Builds the surface of `body` for the given disc. Deterministic.
SurfaceMap BuildSurface(Body body, const DiscGeometry& geo);

struct Photometry {
  double lommel_seeliger;  // share of the Lommel-Seeliger law (flat full disc)
  double lambert;          // share of Lambert's law (limb darkening)
  double exposure;         // linear scale before the tone curve
  double gamma;            // tone curve exponent 1/gamma
};

Photometry PhotometryOf(Body body);

// Brightness of the unlit part of a phase picture, a share of full white.
inline constexpr double kEarthshine = 0.15;

// Picture k (0 .. 35) of the phase cycle: the Sun stands at angle 10k degrees
// from the far side of the body, so the phase angle is |180 - 10k|, the lit
// part is on the right-hand limb for k < 18 and on the left for k > 18. The
// unlit part is a faint grey of kEarthshine (0.8 … 1 of it after the
// surface's markings). Outside the disc the picture is black.
vk::Bitmap24 RenderPhase(const SurfaceMap& map, const Photometry& ph, int k);

// Direction towards the Sun for picture k (x right, y up, z to the viewer).
inline Vec3 SunDirection(int k) {
  const double phi = Rad(10.0 * k);
  return {std::sin(phi), 0.0, -std::cos(phi)};
}

}  // namespace picgen
