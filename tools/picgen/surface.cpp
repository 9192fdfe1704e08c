#include "surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "noise.h"
#include "base/parallel_for.h"

namespace picgen {
namespace {

// ---------------------------------------------------------------------------
// Craters. Heights are measured in units of the crater's own radius, so a
// profile's slope does not depend on its size: h'(d) with d = distance from
// the centre / radius is directly the tilt of the surface.

struct Crater {
  Vec3 centre;
  double radius = 0;     // angular radius, radians
  double depth = 0.3;    // bowl depth
  double floor = 0;      // flat floor, share of the radius
  double rim = 0.06;     // rim height
  double peak = 0;       // central peak height
  double fresh = 0;      // 0 old and grey .. 1 young and bright
  double floor_albedo = 1;  // albedo factor of the floor (dark lava floors < 1)
  int rays = 0;          // ray count of a young ray system
  double ray_length = 0; // radians
  double ray_strength = 0;
  std::uint64_t seed = 0;
};

struct Ray {
  double azimuth, width, length, strength;
};

// Slope dh/dd of the crater profile at d (0 .. 2.5).
double ProfileSlope(const Crater& c, double d) {
  double s = 0;
  if (d < 1) {
    if (c.floor <= 0) {
      s += 2 * c.depth * d;
    } else if (d > c.floor) {
      const double t = (d - c.floor) / (1 - c.floor);
      s += c.depth * 6 * t * (1 - t) / (1 - c.floor);
    }
  }
  const double w = 0.22;
  const double q = (d - 1) / w;
  s += c.rim * (-2 * q / w) * std::exp(-q * q);
  if (c.peak > 0) {
    const double pw = 0.16;
    const double r = d / pw;
    s += c.peak * (-2 * r / pw) * std::exp(-r * r);
  }
  return s;
}

// Albedo factor of the crater at d.
double ProfileAlbedo(const Crater& c, double d) {
  double f = 1;
  if (d < 1 && c.floor_albedo != 1) f *= Mix(c.floor_albedo, 1.0, SmoothStep(0.75, 0.98, d));
  if (c.fresh > 0) {
    // Bright inner walls and an ejecta blanket fading outwards.
    const double wall = SmoothStep(0.3, 0.9, d) * (1 - SmoothStep(1.0, 1.15, d));
    const double blanket = d > 1 ? std::exp(-(d - 1) / 0.55) : 1.0;
    f *= 1 + c.fresh * (0.25 * wall + 0.22 * blanket * SmoothStep(0.2, 1.0, d));
  }
  return f;
}

// Per-pixel buffers shared by the crater painter.
struct Canvas {
  const DiscGeometry& geo;
  std::vector<float>& albedo;
  std::vector<float>& gradient;  // tangent gradient of the height, x y z
  const Noise& streaks;
};

Vec3 PixelPoint(const DiscGeometry& geo, int x, int y, bool& inside) {
  const double X = (x + 0.5 - geo.centre) / geo.radius;
  const double Y = (geo.centre - (y + 0.5)) / geo.radius;
  const double rr = X * X + Y * Y;
  // A pixel beyond the limb but within its anti-aliasing fringe uses the
  // point on the limb.
  const double limit = 1.0 + 2.0 / geo.radius;
  inside = rr < limit * limit;
  if (rr >= 1) {
    const double r = std::sqrt(rr);
    return {X / r, Y / r, 0.0};
  }
  return {X, Y, std::sqrt(1 - rr)};
}

// Paints crater c into the rows [row0, row1).
void PaintCrater(const Crater& c, Canvas& cv, int row0, int row1) {
  const DiscGeometry& g = cv.geo;
  const double reach = std::max(2.5 * c.radius, c.rays > 0 ? c.radius + c.ray_length : 0.0);
  if (c.centre.z < -std::sin(std::min(reach, 1.5))) return;  // entirely on the far side
  const double cos_reach = std::cos(std::min(reach, kPi));
  // Bounding box of the cap seen face-on: its points lie within a chord of
  // `reach` around the centre's projection.
  const double chord = std::min(2.0, 2 * std::sin(std::min(reach, kPi) / 2) + 1e-9);
  const int x0 = std::max(0, static_cast<int>(std::floor(g.centre + (c.centre.x - chord) * g.radius)) - 1);
  const int x1 = std::min(g.size, static_cast<int>(std::ceil(g.centre + (c.centre.x + chord) * g.radius)) + 1);
  const int y0 = std::max(row0, static_cast<int>(std::floor(g.centre - (c.centre.y + chord) * g.radius)) - 1);
  const int y1 = std::min(row1, static_cast<int>(std::ceil(g.centre - (c.centre.y - chord) * g.radius)) + 1);
  if (x0 >= x1 || y0 >= y1) return;

  // Rays: random azimuths around the centre.
  std::vector<Ray> rays;
  Vec3 u, w;
  if (c.rays > 0) {
    Random rng(c.seed);
    for (int i = 0; i < c.rays; ++i)
      rays.push_back({rng.uniform(-kPi, kPi), rng.uniform(0.02, 0.06), rng.uniform(0.35, 1.0) * c.ray_length,
                      rng.uniform(0.4, 1.0)});
    const Vec3 up = std::fabs(c.centre.y) < 0.95 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    u = Normalize(Cross(up, c.centre));
    w = Cross(c.centre, u);
  }

  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      bool inside = false;
      const Vec3 p = PixelPoint(g, x, y, inside);
      if (!inside) continue;
      const double cosang = Dot(p, c.centre);
      if (cosang <= cos_reach) continue;
      const double ang = std::acos(std::min(1.0, cosang));
      const double d = ang / c.radius;
      const std::size_t i = (static_cast<std::size_t>(y) * g.size + x) * 3;
      double factor = 1;
      if (d < 2.5) {
        const double sin_ang = std::sqrt(std::max(1e-18, 1 - cosang * cosang));
        // Unit tangent at p pointing away from the centre.
        const Vec3 e = (p * cosang - c.centre) * (1.0 / sin_ang);
        const double slope = ProfileSlope(c, d);
        if (ang > 1e-9) {
          cv.gradient[i] += static_cast<float>(slope * e.x);
          cv.gradient[i + 1] += static_cast<float>(slope * e.y);
          cv.gradient[i + 2] += static_cast<float>(slope * e.z);
        }
        factor *= ProfileAlbedo(c, d);
      }
      if (!rays.empty() && d > 0.9) {
        const Vec3 t = p - c.centre * cosang;
        const double az = std::atan2(Dot(t, w), Dot(t, u));
        const double out = std::max(0.0, ang - c.radius);
        double sum = 0;
        for (const Ray& r : rays) {
          double da = az - r.azimuth;
          if (da > kPi) da -= 2 * kPi;
          if (da < -kPi) da += 2 * kPi;
          const double width = r.width / (1 + 3 * out / c.ray_length);
          if (std::fabs(da) > 3 * width) continue;
          const double q = da / width;
          sum += r.strength * std::exp(-q * q) * std::exp(-out / (0.45 * r.length));
        }
        const double halo = std::exp(-out / (1.5 * c.radius));
        const double streak = 0.5 + 0.5 * cv.streaks(p * 70.0);
        const double start = SmoothStep(1.5 * c.radius, 9.0 * c.radius, out);
        factor *= 1 + c.ray_strength * (std::min(1.0, sum) * streak * start + 0.3 * halo);
      }
      if (factor != 1) {
        cv.albedo[i] *= static_cast<float>(factor);
        cv.albedo[i + 1] *= static_cast<float>(factor);
        cv.albedo[i + 2] *= static_cast<float>(factor);
      }
    }
  }
}

// A population of random craters. Sizes follow N(>r) ~ r^-2 between r_min and
// r_max (degrees); `accept` may thin them out (younger plains have fewer).
template <typename Accept>
void AddRandomCraters(std::vector<Crater>& out, std::uint64_t seed, int count, double r_min, double r_max,
                      double ray_share, Accept accept) {
  Random rng(seed);
  int made = 0;
  while (made < count) {
    const Vec3 c = rng.direction();
    const double u = std::max(1e-12, rng.uniform());
    const double r_deg = r_min / std::sqrt(u);
    const double age = rng.uniform();
    const double keep = rng.uniform();
    if (r_deg > r_max) continue;
    ++made;
    const double fresh_roll = rng.uniform();
    if (!accept(c, keep)) continue;
    Crater k;
    k.centre = c;
    k.radius = Rad(r_deg);
    const double a = age;  // degradation
    if (r_deg < 0.7) {
      k.depth = 0.22 * (1 - 0.7 * a);
      k.rim = 0.04 * (1 - 0.7 * a);
    } else {
      k.depth = 0.13 * (1 - 0.6 * a);
      k.floor = 0.45;
      k.rim = 0.05 * (1 - 0.6 * a);
      k.peak = r_deg > 1.0 ? 0.10 * (1 - 0.5 * a) : 0.0;
    }
    k.fresh = 0.8 * std::pow(1 - a, 10.0);
    // The smallest craters are subtle: seen at full size they give the
    // surface its grain, but they must not speckle the reduced pictures.
    const double small = 0.35 + 0.65 * SmoothStep(0.1, 0.6, r_deg);
    k.depth *= small;
    k.rim *= small;
    k.fresh *= small;
    if (fresh_roll < ray_share && r_deg > 0.25 && r_deg < 1.5) {
      k.fresh = 1;
      k.depth = 0.30;
      k.rim = 0.06;
      k.rays = 10 + static_cast<int>(rng.uniform() * 10);
      k.ray_length = k.radius * rng.uniform(6, 12);
      k.ray_strength = rng.uniform(0.15, 0.35);
      k.seed = rng.next();
    }
    out.push_back(k);
  }
}

void PaintCraters(const std::vector<Crater>& craters, SurfaceMap& map, const Noise& streaks) {
  const DiscGeometry& g = map.geo;
  std::vector<float> gradient(map.albedo.size(), 0.0f);
  Canvas cv{g, map.albedo, gradient, streaks};
  // Bands of rows, each painted by one thread with every crater clipped to it.
  const int band = 64;
  const int bands = (g.size + band - 1) / band;
  vk::ParallelFor(bands, 0, [&](int b) {
    for (const Crater& c : craters) PaintCrater(c, cv, b * band, std::min(g.size, (b + 1) * band));
  });
  // Normals: the sphere's normal tilted against the height gradient.
  vk::ParallelFor(g.size, 0, [&](int y) {
    for (int x = 0; x < g.size; ++x) {
      bool inside = false;
      const Vec3 p = PixelPoint(g, x, y, inside);
      if (!inside) continue;
      const std::size_t i = (static_cast<std::size_t>(y) * g.size + x) * 3;
      // Towards the limb the slopes facing away are hidden behind the terrain
      // in front of them: the relief fades out there.
      const double keep = SmoothStep(0.0, 0.3, p.z);
      // Overlapping craters add their slopes; no slope gets steeper than
      // about 24 degrees.
      Vec3 slope{gradient[i], gradient[i + 1], gradient[i + 2]};
      const double steep = Length(slope);
      if (steep > 0.45) slope = slope * (0.45 / steep);
      Vec3 n = Normalize(p - slope * keep);
      // A slope turned away from the viewer is hidden behind the terrain in
      // front of it: flatten it until it faces the viewer.
      for (double scale = 0.5; n.z < 0.5 * p.z && scale > 0.01; scale *= 0.5)
        n = Normalize(p - slope * (keep * scale));
      map.normal[i] = static_cast<float>(n.x);
      map.normal[i + 1] = static_cast<float>(n.y);
      map.normal[i + 2] = static_cast<float>(n.z);
    }
  });
}

// Fills albedo and the plain sphere normal from a colour function of the
// body-fixed point.
template <typename Colour>
SurfaceMap PaintAlbedo(const DiscGeometry& g, Colour colour) {
  SurfaceMap map;
  map.geo = g;
  const std::size_t n = static_cast<std::size_t>(g.size) * g.size * 3;
  map.albedo.assign(n, 0.0f);
  map.normal.assign(n, 0.0f);
  vk::ParallelFor(g.size, 0, [&](int y) {
    for (int x = 0; x < g.size; ++x) {
      bool inside = false;
      const Vec3 p = PixelPoint(g, x, y, inside);
      if (!inside) continue;
      const std::size_t i = (static_cast<std::size_t>(y) * g.size + x) * 3;
      const Vec3 a = colour(p);
      map.albedo[i] = static_cast<float>(a.x);
      map.albedo[i + 1] = static_cast<float>(a.y);
      map.albedo[i + 2] = static_cast<float>(a.z);
      map.normal[i] = static_cast<float>(p.x);
      map.normal[i + 1] = static_cast<float>(p.y);
      map.normal[i + 2] = static_cast<float>(p.z);
    }
  });
  return map;
}

// ---------------------------------------------------------------------------
// The Moon: the near side with its maria where they are, highlands, craters
// of all sizes and a few young ray craters.

struct Patch {
  Vec3 centre;
  double radius;         // radians
  double stretch_x = 1;  // east-west elongation
  Vec3 tint{1, 1, 1};
  double albedo = 1;     // relative darkness of this plain (1 = typical)
};

Patch MakePatch(double lat, double lon, double r_deg, Vec3 tint = {1, 1, 1}, double stretch = 1,
                double albedo = 1) {
  return {FromLatLon(lat, lon), Rad(r_deg), stretch, tint, albedo};
}

// The lunar plains, a little larger than their basins' radii say: the noisy
// shore eats into them.
Patch Mare(double lat, double lon, double r_deg, Vec3 tint, double stretch, double albedo) {
  return MakePatch(lat, lon, r_deg * 1.18, tint, stretch, albedo);
}

const std::vector<Patch>& LunarMaria() {
  static const Vec3 blue{0.975, 0.99, 1.03}, brown{1.025, 1.0, 0.96}, plain{1.0, 0.995, 0.99};
  static const std::vector<Patch> maria = {
      Mare(33.0, -17.0, 16.0, brown, 1, 1.05),  // Imbrium
      Mare(45.0, -31.0, 4.5, brown, 1, 1.05),   // Sinus Iridum
      Mare(11.0, -9.0, 3.5, brown, 1, 1.1),     // Sinus Aestuum
      Mare(41.0, -48.0, 9.0, blue, 1, 0.95),    // Procellarum
      Mare(28.0, -53.0, 12.0, blue, 1, 0.92),
      Mare(14.0, -57.0, 12.0, blue, 1, 0.95),
      Mare(0.0, -56.0, 11.0, blue, 1, 1.0),
      Mare(-11.0, -50.0, 8.0, blue, 1, 1.0),
      Mare(20.0, -40.0, 9.0, blue, 1, 1.0),
      Mare(27.0, -33.0, 8.0, blue, 1, 1.0),
      Mare(11.0, -46.0, 10.0, blue, 1, 0.95),
      Mare(4.0, -40.0, 8.0, plain, 1, 1.1),
      Mare(52.0, -52.0, 5.5, blue, 1, 1.0),     // Sinus Roris
      Mare(57.0, -22.0, 3.0, plain, 4.0, 1.1),  // Frigoris
      Mare(58.0, 6.0, 2.8, plain, 4.0, 1.1),
      Mare(56.0, 30.0, 2.6, plain, 3.0, 1.1),
      Mare(28.0, 17.5, 9.0, brown, 1, 1.0),     // Serenitatis
      Mare(15.0, 26.0, 5.0, blue, 1, 0.92),
      Mare(8.5, 31.0, 10.0, blue, 1, 0.88),     // Tranquillitatis
      Mare(4.0, 22.0, 6.0, blue, 1, 0.9),
      Mare(13.0, 4.0, 4.0, plain, 1, 1.05),     // Vaporum
      Mare(2.0, 1.0, 2.8, plain, 1, 1.1),       // Sinus Medii
      Mare(17.0, 59.0, 7.5, plain, 1.25, 0.95), // Crisium
      Mare(-7.8, 51.3, 8.5, plain, 1, 1.05),    // Fecunditatis
      Mare(0.0, 45.0, 4.0, plain, 1, 1.05),
      Mare(-15.0, 35.0, 4.8, plain, 1, 1.0),    // Nectaris
      Mare(-21.0, -16.0, 8.5, plain, 1.2, 1.1), // Nubium
      Mare(-10.0, -23.0, 5.5, plain, 1, 1.1),   // Cognitum
      Mare(-24.0, -38.5, 6.0, brown, 1, 1.0),   // Humorum
      Mare(8.0, -31.0, 5.5, plain, 1, 1.15),    // Insularum
      Mare(1.5, 86.0, 5.0, plain, 1, 1.0),      // Smythii
      Mare(13.0, 86.0, 4.0, plain, 1, 1.0),     // Marginis
      Mare(-46.0, 88.0, 6.0, plain, 1, 1.05),   // Australe
      Mare(1.0, 65.0, 2.3, plain, 1, 1.0),      // Spumans
      Mare(7.0, 68.5, 2.3, plain, 1, 1.0),      // Undarum
      Mare(-5.0, -68.5, 2.5, plain, 1, 0.9),    // Grimaldi's dark floor
  };
  return maria;
}

// Share of plain at p (0 .. 1), with the tint and relative albedo of the
// nearest plain. The point is displaced by noise first, so the shores wind
// and fray instead of following circles.
double MareShare(const std::vector<Patch>& patches, const Noise& warp, Vec3 p, Vec3* tint,
                 double* albedo = nullptr) {
  const Vec3 shift{warp.fbm(p * 2.7, 4), warp.fbm(p * 2.7 + Vec3{13, 5, 2}, 4), warp.fbm(p * 2.7 + Vec3{3, 17, 9}, 4)};
  const Vec3 fine{warp.fbm(p * 9.0 + Vec3{1, 2, 3}, 3), warp.fbm(p * 9.0 + Vec3{7, 1, 5}, 3),
                  warp.fbm(p * 9.0 + Vec3{4, 9, 1}, 3)};
  const Vec3 q = Normalize(p + shift * 0.11 + fine * 0.04);
  // Soft union of the patches (a smooth maximum), so that neighbours merge
  // into one plain; tint and albedo are weighted the same way.
  constexpr double kSharp = 14.0;
  double weight_sum = 0;
  Vec3 t{0, 0, 0};
  double a = 0;
  for (const Patch& m : patches) {
    const double cosd = Dot(q, m.centre);
    if (cosd < std::cos(std::min(kPi, m.radius * 2.2 * m.stretch_x))) continue;
    double ang = std::acos(std::min(1.0, cosd));
    if (m.stretch_x != 1) {
      // Elongate east-west: shrink the east-west part of the distance.
      const Vec3 east = Normalize(Cross(Vec3{0, 1, 0}, m.centre));
      const Vec3 v = q - m.centre * cosd;
      const double ex = Dot(v, east) / m.stretch_x;
      const double ny = Length(v - east * Dot(v, east));
      ang = std::asin(std::min(1.0, std::sqrt(ex * ex + ny * ny)));
    }
    const double f = 1 - ang / m.radius;
    const double w = std::exp(kSharp * f);
    weight_sum += w;
    t = t + m.tint * w;
    a += m.albedo * w;
  }
  if (weight_sum <= 0) {
    if (tint) *tint = Vec3{1, 1, 1};
    if (albedo) *albedo = 1;
    return 0;
  }
  if (tint) *tint = t * (1.0 / weight_sum);
  if (albedo) *albedo = a / weight_sum;
  const double field = std::log(weight_sum) / kSharp;
  const double ragged = 0.10 * warp.fbm(p * 14.0 + Vec3{2, 8, 6}, 3);
  return SmoothStep(-0.14, 0.10, field + ragged);
}

SurfaceMap BuildMoon(const DiscGeometry& g) {
  const Noise warp(11), detail(12), streaks(13);
  const auto& maria = LunarMaria();
  SurfaceMap map = PaintAlbedo(g, [&](Vec3 p) {
    Vec3 tint;
    double plain = 1;
    const double m = MareShare(maria, warp, p, &tint, &plain);
    const double south = SmoothStep(-0.1, -0.8, p.y) * 0.05;
    const double high = 0.97 + south + 0.10 * detail.fbm(p * 2.5, 5) + 0.05 * detail.fbm(p * 8.0 + Vec3{5, 1, 1}, 3) +
                        0.03 * detail.fbm(p * 16.0 + Vec3{3, 3, 3}, 3);
    // Plains: darker, mottled, a little lighter near their shores.
    const double mottle = 0.45 * detail.fbm(p * 4.0 + Vec3{9, 2, 4}, 5) + 0.12 * detail.fbm(p * 18.0, 3);
    const double low = 0.40 * plain * (1 + mottle) * (1 + 0.25 * (1 - m));
    const Vec3 highland = Vec3{1.0, 0.975, 0.945} * high;
    const Vec3 mare = Vec3{1.0 * tint.x, 0.975 * tint.y, 0.945 * tint.z} * low;
    return Mix(highland, mare, m);
  });

  std::vector<Crater> craters;
  AddRandomCraters(craters, 101, 42000, 0.11, 8.0, 0.004, [&](Vec3 c, double keep) {
    const double m = MareShare(maria, warp, c, nullptr);
    return keep > 0.85 * m;
  });
  // Named craters: latitude, longitude, radius (degrees).
  auto named = [&](double lat, double lon, double r, double depth, double floor, double peak, double fresh) {
    Crater k;
    k.centre = FromLatLon(lat, lon);
    k.radius = Rad(r);
    k.depth = depth;
    k.floor = floor;
    k.peak = peak;
    k.fresh = fresh;
    k.rim = 0.06;
    craters.push_back(k);
    return &craters.back();
  };
  named(-58.4, -14.4, 3.7, 0.12, 0.6, 0.0, 0.0);   // Clavius
  named(-9.3, -1.9, 2.5, 0.10, 0.7, 0.0, 0.0);     // Ptolemaeus
  named(-13.4, -3.0, 1.9, 0.13, 0.55, 0.10, 0.1);  // Alphonsus
  named(-18.2, -1.9, 1.6, 0.14, 0.5, 0.10, 0.1);   // Arzachel
  named(-11.4, 26.4, 1.65, 0.20, 0.45, 0.14, 0.5); // Theophilus
  named(-16.0, 26.0, 1.7, 0.14, 0.5, 0.08, 0.2);   // Cyrillus
  named(-8.9, 60.9, 2.2, 0.15, 0.5, 0.12, 0.3);    // Langrenus
  named(-25.1, 60.4, 2.9, 0.13, 0.55, 0.12, 0.2);  // Petavius
  named(-50.5, -6.2, 2.8, 0.10, 0.6, 0.0, 0.0);    // Maginus
  named(-49.6, -21.7, 2.6, 0.12, 0.55, 0.08, 0.0); // Longomontanus
  named(13.5, -9.7, 0.9, 0.2, 0.4, 0.08, 0.2)->floor_albedo = 0.9;  // Eratosthenes
  named(51.6, -9.4, 1.65, 0.10, 0.75, 0.0, 0.0)->floor_albedo = 0.45;  // Plato
  named(-5.2, -68.6, 2.85, 0.10, 0.7, 0.0, 0.0);   // Grimaldi
  named(29.8, -3.6, 1.4, 0.16, 0.5, 0.0, 0.0)->floor_albedo = 0.9;  // Archimedes
  named(38.0, 1.5, 0.9, 0.2, 0.45, 0.06, 0.5);     // Aristillus
  named(9.0, -30.0, 0.35, 0.3, 0.0, 0.0, 1.0);     // small bright ones
  // Young ray craters.
  auto rayed = [&](double lat, double lon, double r, int rays, double length_deg, double strength,
                   std::uint64_t seed) {
    Crater* k = named(lat, lon, r, 0.22, 0.4, 0.12, 1.0);
    k->rays = rays;
    k->ray_length = Rad(length_deg);
    k->ray_strength = strength;
    k->seed = seed;
  };
  rayed(-43.3, -11.2, 1.4, 26, 42.0, 0.75, 7001);   // Tycho
  rayed(9.6, -20.1, 1.55, 22, 20.0, 0.55, 7002);    // Copernicus
  rayed(8.1, -38.0, 0.53, 16, 13.0, 0.45, 7003);    // Kepler
  rayed(23.7, -47.4, 0.66, 12, 7.0, 0.9, 7004);     // Aristarchus
  rayed(16.1, 46.8, 0.46, 10, 9.0, 0.4, 7005);      // Proclus
  rayed(-2.9, -25.0, 0.3, 10, 5.0, 0.35, 7006);
  rayed(-21.0, 54.0, 0.4, 10, 6.0, 0.35, 7007);     // Stevinus-like
  PaintCraters(craters, map, streaks);
  return map;
}

// ---------------------------------------------------------------------------
// Mercury: grey, saturated with craters, a few darker and smoother plains and
// bright young rays.

SurfaceMap BuildMercury(const DiscGeometry& g) {
  const Noise warp(21), detail(22), streaks(23);
  const std::vector<Patch> plains = {
      MakePatch(30.0, -40.0, 18.0),  MakePatch(-20.0, 35.0, 14.0), MakePatch(55.0, 30.0, 15.0),
      MakePatch(-45.0, -20.0, 10.0), MakePatch(5.0, 70.0, 9.0)};
  const std::vector<Patch> dark = {MakePatch(-5.0, -10.0, 12.0), MakePatch(20.0, 55.0, 9.0),
                                   MakePatch(-35.0, 60.0, 10.0), MakePatch(45.0, -75.0, 12.0)};
  SurfaceMap map = PaintAlbedo(g, [&](Vec3 p) {
    const double smooth = MareShare(plains, warp, p, nullptr);
    // The dark patches are looked up at -p, so they do not sit on the plains.
    const double low = MareShare(dark, warp, p * -1.0, nullptr);
    double a = 0.92 + 0.17 * detail.fbm(p * 2.2, 5) + 0.07 * detail.fbm(p * 7.0 + Vec3{2, 2, 9}, 3) +
               0.04 * detail.fbm(p * 13.0, 3);
    a *= 1 + 0.10 * smooth;
    a *= 1 - 0.35 * low;
    return Vec3{0.97, 0.93, 0.87} * a;
  });
  std::vector<Crater> craters;
  AddRandomCraters(craters, 201, 52000, 0.11, 9.0, 0.02, [&](Vec3 c, double keep) {
    return keep > 0.6 * MareShare(plains, warp, c, nullptr);
  });
  auto rayed = [&](double lat, double lon, double r, int rays, double length_deg, double strength,
                   std::uint64_t seed) {
    Crater k;
    k.centre = FromLatLon(lat, lon);
    k.radius = Rad(r);
    k.depth = 0.24;
    k.floor = 0.35;
    k.peak = 0.1;
    k.rim = 0.06;
    k.fresh = 1;
    k.rays = rays;
    k.ray_length = Rad(length_deg);
    k.ray_strength = strength;
    k.seed = seed;
    craters.push_back(k);
  };
  rayed(57.8, 16.8, 0.9, 22, 35.0, 0.6, 8001);
  rayed(-12.0, -28.0, 0.6, 16, 18.0, 0.5, 8002);
  rayed(-48.0, 40.0, 0.5, 14, 15.0, 0.45, 8003);
  rayed(12.0, 62.0, 0.35, 10, 10.0, 0.4, 8004);
  PaintCraters(craters, map, streaks);
  return map;
}

// ---------------------------------------------------------------------------
// Venus: a pale cloud deck with faint bands along the equator.

SurfaceMap BuildVenus(const DiscGeometry& g) {
  const Noise warp(31), bands(32);
  return PaintAlbedo(g, [&](Vec3 p) {
    const Vec3 w{warp.fbm(p * 2.0, 3), warp.fbm(p * 2.0 + Vec3{7, 3, 1}, 3), 0.0};
    const Vec3 q{p.x * 1.6 + 0.5 * w.x, p.y * 7.0 + 1.2 * w.y, p.z * 1.6};
    const double v = bands.fbm(q, 5);
    const double a = 1.0 + 0.08 * v;
    return Vec3{1.0, 0.95, 0.83} * a;
  });
}

}  // namespace

SurfaceMap BuildSurface(Body body, const DiscGeometry& geo) {
  switch (body) {
    case Body::Moon: return BuildMoon(geo);
    case Body::Mercury: return BuildMercury(geo);
    case Body::Venus: return BuildVenus(geo);
  }
  return {};
}

Photometry PhotometryOf(Body body) {
  switch (body) {
    case Body::Moon: return {0.8, 0.2, 0.66, 1.7};
    case Body::Mercury: return {0.75, 0.25, 0.66, 1.7};
    case Body::Venus: return {0.35, 0.65, 0.86, 1.8};
  }
  return {0.5, 0.5, 0.8, 1.8};
}

vk::Bitmap24 RenderPhase(const SurfaceMap& map, const Photometry& ph, int k) {
  const DiscGeometry& g = map.geo;
  const Vec3 sun = SunDirection(k);
  // Tone curve as a table over the linear value 0 .. 1.25.
  constexpr int kSteps = 8192;
  constexpr double kTop = 1.25;
  std::vector<std::uint8_t> tone(kSteps + 1);
  for (int i = 0; i <= kSteps; ++i) {
    const double v = std::pow(std::min(1.0, i * kTop / kSteps), 1.0 / ph.gamma);
    tone[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::lround(255.0 * v));
  }
  const auto encode = [&](double v) {
    const int i = static_cast<int>(v * (kSteps / kTop) + 0.5);
    return tone[static_cast<std::size_t>(std::clamp(i, 0, kSteps))];
  };

  vk::Bitmap24 out;
  out.reset(g.size, g.size);
  vk::ParallelFor(g.size, 0, [&](int y) {
    std::uint8_t* row = out.row(y);
    for (int x = 0; x < g.size; ++x) {
      bool inside = false;
      const Vec3 p = PixelPoint(g, x, y, inside);
      if (!inside) continue;
      // Coverage of the pixel by the disc, for a smooth limb.
      const double X = (x + 0.5 - g.centre), Y = (g.centre - (y + 0.5));
      const double coverage = Clamp(g.radius - std::sqrt(X * X + Y * Y) + 0.5, 0.0, 1.0);
      if (coverage <= 0) continue;
      const std::size_t i = (static_cast<std::size_t>(y) * g.size + x) * 3;
      std::uint8_t* px = row + static_cast<std::size_t>(x) * 3;
      // The unlit part in a faint earthshine grey, the surface's markings
      // just showing, so that the whole disc stays visible at every phase.
      const double luminance = 0.3 * map.albedo[i] + 0.59 * map.albedo[i + 1] + 0.11 * map.albedo[i + 2];
      const auto earthshine = static_cast<std::uint8_t>(
          std::lround(255.0 * kEarthshine * coverage * Clamp(0.8 + 0.2 * luminance, 0.8, 1.0)));
      px[0] = px[1] = px[2] = earthshine;
      const double mu0_sphere = Dot(p, sun);
      if (mu0_sphere < -0.03) continue;
      const Vec3 n{map.normal[i], map.normal[i + 1], map.normal[i + 2]};
      const double mu0 = Dot(n, sun);
      if (mu0 <= 0) continue;
      const double mu = std::max(0.0, n.z);
      // Beyond the sphere's terminator only slopes facing the Sun catch light,
      // and they fade within a short distance.
      const double fade = SmoothStep(-0.025, 0.006, mu0_sphere);
      const double law = ph.lommel_seeliger * 2 * mu0 / (mu0 + mu + 1e-6) + ph.lambert * mu0;
      const double light = ph.exposure * law * fade * coverage;
      px[2] = std::max(earthshine, encode(light * map.albedo[i]));
      px[1] = std::max(earthshine, encode(light * map.albedo[i + 1]));
      px[0] = std::max(earthshine, encode(light * map.albedo[i + 2]));
    }
  });
  return out;
}

}  // namespace picgen
