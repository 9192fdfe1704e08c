#include "planets.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "noise.h"
#include "pictures/stretch.h"
#include "vec.h"

namespace picgen {
namespace {

constexpr int kSuper = 8;      // samples per pixel along each axis
constexpr double kGamma = 1.8;

struct Sample {
  Vec3 colour;       // linear
  double alpha = 0;  // 1 when the sample hits the body
};

// Renders size x size pixels, sampling `shade` kSuper x kSuper times per pixel
// at (u, v) in pixel units (0, 0 = top-left corner of the picture). Colours
// are averaged in linear light, then tone-mapped; the mask is set where at
// least half the samples hit.
SmallPicture Supersample(int size, const std::function<Sample(double u, double v)>& shade) {
  SmallPicture out;
  out.picture.reset(size, size);
  out.mask.assign(static_cast<std::size_t>(size) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec3 sum;
      double hits = 0;
      for (int j = 0; j < kSuper; ++j) {
        for (int i = 0; i < kSuper; ++i) {
          const Sample s = shade(x + (i + 0.5) / kSuper, y + (j + 0.5) / kSuper);
          sum = sum + s.colour * s.alpha;
          hits += s.alpha;
        }
      }
      const double n = kSuper * kSuper;
      const Vec3 c = sum * (1.0 / n);
      std::uint8_t* px = out.picture.pixel(x, y);
      const auto tone = [](double v) {
        return static_cast<std::uint8_t>(std::lround(255.0 * std::pow(Clamp(v, 0.0, 1.0), 1.0 / kGamma)));
      };
      px[2] = tone(c.x);
      px[1] = tone(c.y);
      px[0] = tone(c.z);
      const bool inside = hits >= n / 2;
      // A pixel of the picture is never pure black: black is the background.
      if (inside && px[0] == 0 && px[1] == 0 && px[2] == 0) px[0] = px[1] = px[2] = 1;
      out.mask[static_cast<std::size_t>(y) * size + x] = inside ? 1 : 0;
    }
  }
  return out;
}

// The light on a globe seen at small phase angle: the Sun a little to the
// upper left of the viewer gives the discs some depth.
const Vec3 kSun = Normalize(Vec3{-0.25, 0.18, 1.0});

// Lit brightness of a surface element with normal n (view frame): a mix of
// Lambert and Lommel-Seeliger with an extra limb darkening exponent.
double Light(Vec3 n, double lambert, double limb) {
  const double mu0 = std::max(0.0, Dot(n, kSun));
  const double mu = std::max(1e-3, n.z);
  const double law = lambert * mu0 + (1 - lambert) * 2 * mu0 / (mu0 + mu);
  return law * std::pow(mu, limb);
}

// Rotates a view-frame point into a body frame: the pole tilted towards the
// viewer by `tilt` degrees, then the body turned by `turn` degrees.
Vec3 ToBody(Vec3 p, double tilt, double turn) {
  const double t = Rad(tilt), r = Rad(turn);
  // Tilt about the x axis.
  const Vec3 a{p.x, p.y * std::cos(t) + p.z * std::sin(t), -p.y * std::sin(t) + p.z * std::cos(t)};
  // Turn about the pole.
  return {a.x * std::cos(r) + a.z * std::sin(r), a.y, -a.x * std::sin(r) + a.z * std::cos(r)};
}

double Latitude(Vec3 b) { return std::asin(Clamp(b.y, -1.0, 1.0)) * 180.0 / kPi; }
double Longitude(Vec3 b) { return std::atan2(b.x, b.z) * 180.0 / kPi; }

// A point on a globe of radius r (pixels) with flattening f centred in the
// picture. Returns false when (u, v) misses it; else the unit-sphere point
// (y stretched back) and the surface normal in the view frame.
bool Globe(double u, double v, double size, double r, double f, Vec3& p, Vec3& n) {
  const double X = (u - size / 2) / r;
  const double Y = (size / 2 - v) / (r * (1 - f));
  const double rr = X * X + Y * Y;
  if (rr >= 1) return false;
  p = {X, Y, std::sqrt(1 - rr)};
  n = Normalize(Vec3{p.x, p.y / (1 - f), p.z});
  return true;
}

// --- Mars ------------------------------------------------------------------

Sample Mars(double u, double v, int size, const Noise& noise) {
  Vec3 p, n;
  if (!Globe(u, v, size, size * 0.36, 0.0, p, n)) return {};
  const Vec3 b = ToBody(p, 18.0, 300.0);
  const double lat = Latitude(b);
  const Vec3 bright{0.78, 0.38, 0.19}, dark{0.36, 0.21, 0.15};
  double markings = noise.fbm(b * 2.3, 5) + 0.35 * noise.fbm(b * 6.0 + Vec3{4, 4, 4}, 3);
  // A broad dark band south of the equator, broken by the noise.
  markings += 0.35 * std::exp(-std::pow((lat + 15.0) / 18.0, 2));
  Vec3 c = Mix(bright, dark, SmoothStep(0.12, 0.42, markings));
  // Polar cap in the north.
  const double cap = SmoothStep(68.0, 74.0, lat + 3.0 * noise(b * 9.0));
  c = Mix(c, Vec3{0.92, 0.92, 0.95}, cap);
  double light = Light(n, 0.6, 0.15);
  // Thin bluish haze at the limb.
  const double haze = std::pow(1 - std::max(0.0, n.z), 5.0) * 0.35;
  c = Mix(c, Vec3{0.75, 0.72, 0.85}, haze);
  return {c * (light * 1.05), 1};
}

// --- Jupiter ---------------------------------------------------------------

struct Band {
  double from, to;  // latitude, degrees
  Vec3 colour;
};

Vec3 JupiterColour(double lat, double lon, Vec3 b, const Noise& noise) {
  static const Vec3 zone{0.93, 0.87, 0.74}, belt{0.66, 0.46, 0.32}, pale{0.80, 0.70, 0.58},
      polar{0.60, 0.56, 0.52}, equator{0.92, 0.84, 0.68};
  static const Band bands[] = {
      {48, 91, polar}, {36, 48, pale},  {30, 36, belt},  {23, 30, zone},  {8, 23, belt},
      {-7, 8, equator}, {-20, -7, belt}, {-28, -20, zone}, {-35, -28, pale}, {-48, -35, zone},
      {-91, -48, polar}};
  // Wavy band edges, and streaks along the bands.
  const double wobble = 2.2 * noise.fbm(Vec3{b.x * 3.0, b.y * 6.0, b.z * 3.0}, 4);
  const double l = lat + wobble;
  Vec3 c = polar;
  for (const Band& band : bands) {
    if (l >= band.from && l < band.to) {
      c = band.colour;
      // Soften the edges over about a degree.
      const double edge = std::min(l - band.from, band.to - l);
      if (edge < 1.2) {
        const Band* other = nullptr;
        for (const Band& o : bands)
          if ((l - band.from < band.to - l && o.to == band.from) || (l - band.from >= band.to - l && o.from == band.to))
            other = &o;
        if (other) c = Mix(other->colour, c, 0.5 + 0.5 * edge / 1.2);
      }
      break;
    }
  }
  const double streak = noise.fbm(Vec3{b.x * 4.0, b.y * 40.0, b.z * 4.0}, 4);
  c = c * (1 + 0.10 * streak);
  // The Great Red Spot with its pale hollow.
  double dl = lon - 25.0;
  if (dl > 180) dl -= 360;
  if (dl < -180) dl += 360;
  const double e = std::pow(dl / 12.0, 2) + std::pow((lat + 22.0) / 6.0, 2);
  if (e < 2.2) {
    c = Mix(c, zone, SmoothStep(2.2, 1.3, e));
    c = Mix(c, Vec3{0.80, 0.42, 0.28}, SmoothStep(1.0, 0.55, e));
  }
  return c;
}

Sample Jupiter(double u, double v, int size, const Noise& noise) {
  Vec3 p, n;
  if (!Globe(u, v, size, size * 0.47, 0.065, p, n)) return {};
  const Vec3 b = ToBody(p, 0.0, 10.0);
  const Vec3 c = JupiterColour(Latitude(b), Longitude(b), b, noise);
  return {c * (Light(n, 0.7, 0.25) * 1.0), 1};
}

// --- Saturn ----------------------------------------------------------------

// Ring opacity and colour at distance d (equatorial radii) from the centre.
bool Ring(double d, double& opacity, Vec3& colour) {
  if (d < 1.24 || d > 2.27) return false;
  if (d < 1.53) {
    opacity = 0.22;
    colour = {0.52, 0.48, 0.42};
  } else if (d < 1.95) {
    opacity = 0.92;
    colour = Vec3{0.92, 0.85, 0.70} * (0.9 + 0.1 * std::sin(d * 60.0));
  } else if (d < 2.03) {
    opacity = 0.08;  // Cassini's division
    colour = {0.4, 0.4, 0.4};
  } else if (d > 2.205 && d < 2.22) {
    opacity = 0.1;   // Encke's gap
    colour = {0.4, 0.4, 0.4};
  } else {
    opacity = 0.7;
    colour = {0.76, 0.71, 0.60};
  }
  return true;
}

Sample Saturn(double u, double v, int size, const Noise& noise) {
  const double re = size * 0.485 / 2.27;  // the rings' outer edge nearly fills the picture
  const double f = 0.098;
  const double opening = Rad(24.0);       // the rings' tilt towards the viewer
  const double X = (u - size / 2.0) / re;
  const double Y = (size / 2.0 - v) / re;
  // Ring plane: points (s, t) of the plane appear at (s, t sin B) with depth -t cos B.
  const double t = Y / std::sin(opening);
  const double ring_depth = -t * std::cos(opening);
  const double d = std::sqrt(X * X + t * t);

  Sample globe;
  double globe_depth = -1e9;
  Vec3 p, n;
  if (Globe(u, v, size, re, f, p, n)) {
    const Vec3 b = ToBody(p, 24.0, 0.0);
    const double lat = Latitude(b);
    const Vec3 base{0.88, 0.78, 0.55};
    const double band = 0.06 * std::sin(lat * 0.35) + 0.04 * noise.fbm(Vec3{b.x * 2, b.y * 25, b.z * 2}, 3);
    Vec3 c = base * (1 + band);
    c = Mix(c, Vec3{0.66, 0.66, 0.60}, SmoothStep(55.0, 75.0, std::fabs(lat)));
    // The rings' shadow on the globe: a dark band just south of the rings'
    // line across the disc (the Sun stands above the ring plane).
    const double shadow_t = (Y + 0.06) / std::sin(opening);
    const double sd = std::sqrt(X * X + shadow_t * shadow_t);
    double op = 0;
    Vec3 rc;
    if (Ring(sd, op, rc) && Y < 0) c = c * (1 - 0.6 * op);
    globe = {c * Light(n, 0.7, 0.2), 1};
    globe_depth = p.z;
  }
  double opacity = 0;
  Vec3 ring_colour;
  const bool ring = Ring(d, opacity, ring_colour);
  if (ring && ring_depth > globe_depth) {
    // The ring lies in front: its own colour over whatever is behind.
    const Vec3 behind = globe.alpha > 0 ? globe.colour : Vec3{0, 0, 0};
    const double a = globe.alpha > 0 ? 1.0 : opacity;
    const Vec3 c = globe.alpha > 0 ? Mix(behind, ring_colour, opacity) : ring_colour;
    return {c, a >= 0.5 || globe.alpha > 0 ? 1.0 : a};
  }
  if (globe.alpha > 0) return globe;
  if (ring) return {ring_colour, opacity};
  return {};
}

// --- Uranus and Neptune ----------------------------------------------------

Sample Uranus(double u, double v, int size, const Noise& noise) {
  Vec3 p, n;
  if (!Globe(u, v, size, size * 0.34, 0.023, p, n)) return {};
  // The pole points almost at the Sun and the viewer: a brighter polar hood.
  const Vec3 pole = Normalize(Vec3{0.25, 0.2, 0.95});
  const double hood = SmoothStep(0.6, 0.95, Dot(p, pole));
  Vec3 c = Mix(Vec3{0.60, 0.83, 0.88}, Vec3{0.74, 0.90, 0.92}, hood);
  c = c * (1 + 0.03 * noise.fbm(Vec3{p.x * 3, p.y * 3, p.z * 12}, 3));
  return {c * Light(n, 0.8, 0.45), 1};
}

Sample Neptune(double u, double v, int size, const Noise& noise) {
  Vec3 p, n;
  if (!Globe(u, v, size, size * 0.34, 0.017, p, n)) return {};
  const Vec3 b = ToBody(p, -10.0, 40.0);
  const double lat = Latitude(b), lon = Longitude(b);
  Vec3 c{0.24, 0.40, 0.86};
  c = c * (1 + 0.06 * std::sin(lat * 0.2) + 0.05 * noise.fbm(Vec3{b.x * 3, b.y * 18, b.z * 3}, 4));
  // The dark spot and its bright companion clouds.
  double dl = lon - 30.0;
  const double spot = std::pow(dl / 11.0, 2) + std::pow((lat + 20.0) / 6.0, 2);
  c = Mix(c, Vec3{0.12, 0.20, 0.52}, SmoothStep(1.0, 0.5, spot));
  const double cloud = std::pow((lon - 38.0) / 14.0, 2) + std::pow((lat + 29.0) / 2.2, 2);
  c = Mix(c, Vec3{0.85, 0.90, 0.98}, 0.8 * SmoothStep(1.0, 0.2, cloud));
  const double streak = std::pow((lon + 25.0) / 25.0, 2) + std::pow((lat - 28.0) / 2.5, 2);
  c = Mix(c, Vec3{0.80, 0.86, 0.98}, 0.5 * SmoothStep(1.0, 0.2, streak));
  return {c * Light(n, 0.8, 0.35), 1};
}

}  // namespace

SmallPicture RenderPlanet(int index, int size) {
  const Noise noise(400 + static_cast<std::uint64_t>(index));
  std::function<Sample(double, double)> shade;
  switch (index) {
    case 2: shade = [&](double u, double v) { return Mars(u, v, size, noise); }; break;
    case 3: shade = [&](double u, double v) { return Jupiter(u, v, size, noise); }; break;
    case 4: shade = [&](double u, double v) { return Saturn(u, v, size, noise); }; break;
    case 5: shade = [&](double u, double v) { return Uranus(u, v, size, noise); }; break;
    default: shade = [&](double u, double v) { return Neptune(u, v, size, noise); }; break;
  }
  return Supersample(size, shade);
}

SmallPicture ReduceDisc(const vk::Bitmap24& source, double source_centre, double source_radius, int size,
                        double disc_radius) {
  // The square of the source that maps onto the whole small picture.
  const double half = source_radius * (size / 2.0) / disc_radius;
  const int left = static_cast<int>(std::lround(source_centre - half));
  const int right = static_cast<int>(std::lround(source_centre + half));
  SmallPicture out;
  out.picture.reset(size, size);
  vk::StretchCopy(source, vk::PixelRect{left, left, right, right}, out.picture, vk::PixelRect{0, 0, size, size},
                  vk::StretchMode::Halftone);
  out.mask.assign(static_cast<std::size_t>(size) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
      const bool inside = dx * dx + dy * dy < disc_radius * disc_radius;
      std::uint8_t* px = out.picture.pixel(x, y);
      if (!inside) {
        px[0] = px[1] = px[2] = 0;
      } else if (px[0] == 0 && px[1] == 0 && px[2] == 0) {
        px[0] = px[1] = px[2] = 1;
      }
      out.mask[static_cast<std::size_t>(y) * size + x] = inside ? 1 : 0;
    }
  }
  return out;
}

SmallPicture RenderVenusClouds(int size) {
  const Noise warp(501), clouds(502);
  SmallPicture out = Supersample(size, [&](double u, double v) -> Sample {
    Vec3 p, n;
    if (!Globe(u, v, size, size / 2.0, 0.0, p, n)) return {};
    // Clouds streaming along the equator with the dark sideways "Y": bands
    // that bend towards the poles on the morning side.
    const Vec3 b = ToBody(p, 0.0, 0.0);
    const double lat = Latitude(b);
    const double lon = Longitude(b);
    const Vec3 w{warp.fbm(b * 2.5, 4), warp.fbm(b * 2.5 + Vec3{5, 2, 8}, 4), 0.0};
    const double y_arm = std::exp(-std::pow((std::fabs(lat) - 0.45 * (lon + 40.0)) / 12.0, 2)) *
                         SmoothStep(-60.0, -20.0, lon);
    const double stem = std::exp(-std::pow(lat / 10.0, 2)) * SmoothStep(-10.0, -60.0, lon);
    const double band = clouds.fbm(Vec3{b.x * 2.0 + w.x, b.y * 9.0 + 2.0 * w.y, b.z * 2.0}, 5);
    double dark = 0.45 * (y_arm + stem) + 0.55 * band;
    const Vec3 light_col{0.98, 0.93, 0.78}, dark_col{0.74, 0.58, 0.36};
    Vec3 c = Mix(light_col, dark_col, Clamp(0.35 + dark, 0.0, 1.0));
    // Bright polar collars.
    c = Mix(c, Vec3{1.0, 0.97, 0.90}, SmoothStep(55.0, 75.0, std::fabs(lat)) * 0.6);
    return {c * Light(n, 0.55, 0.2) * 1.02, 1};
  });
  // Like the phase pictures beside it: black exactly where the mask is clear.
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (!out.mask[static_cast<std::size_t>(y) * size + x]) {
        std::uint8_t* px = out.picture.pixel(x, y);
        px[0] = px[1] = px[2] = 0;
      }
  return out;
}

QImage RenderEmblem(int size) {
  QImage out(size, size, QImage::Format_ARGB32);
  const Noise noise(601);
  const double corner = 0.19;  // rounding radius, share of the side
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Vec3 sum;
      double alpha = 0;
      for (int j = 0; j < kSuper; ++j) {
        for (int i = 0; i < kSuper; ++i) {
          const double u = (x + (i + 0.5) / kSuper) / size;  // 0 .. 1, left to right
          const double v = (y + (j + 0.5) / kSuper) / size;  // 0 .. 1, top to bottom
          // Rounded square.
          const double cx = Clamp(u, corner, 1 - corner), cy = Clamp(v, corner, 1 - corner);
          if ((u - cx) * (u - cx) + (v - cy) * (v - cy) > corner * corner) continue;
          // Evening sky: deep blue above, violet, then an orange glow low down.
          Vec3 c;
          if (v < 0.5) {
            c = Mix(Vec3{0.015, 0.025, 0.10}, Vec3{0.08, 0.10, 0.32}, v / 0.5);
          } else {
            const double t = (v - 0.5) / 0.32;
            c = t < 0.6 ? Mix(Vec3{0.08, 0.10, 0.32}, Vec3{0.42, 0.22, 0.38}, t / 0.6)
                        : Mix(Vec3{0.42, 0.22, 0.38}, Vec3{0.98, 0.55, 0.20}, Clamp((t - 0.6) / 0.4, 0.0, 1.0));
          }
          // A few faint stars.
          static const double stars[][3] = {{0.14, 0.12, 0.5}, {0.52, 0.10, 0.35}, {0.86, 0.20, 0.45},
                                            {0.62, 0.30, 0.3}, {0.90, 0.46, 0.25}, {0.10, 0.52, 0.3}};
          for (const auto& s : stars) {
            const double d2 = (u - s[0]) * (u - s[0]) + (v - s[1]) * (v - s[1]);
            c = c + Vec3{1, 1, 1} * (s[2] * std::exp(-d2 / (0.008 * 0.008)));
          }
          // The crescent Moon, lit from the lower right where the Sun has set.
          const double mx = 0.34, my = 0.33, mr = 0.175;
          const double dm = std::hypot(u - mx, v - my);
          if (dm < mr) {
            const double sx = mx - 0.085, sy = my - 0.06;
            const bool lit = std::hypot(u - sx, v - sy) > mr;
            const double grain = 1 + 0.06 * noise(Vec3{u * 40, v * 40, 0.5});
            c = lit ? Vec3{1.0, 0.93, 0.70} * grain : Vec3{0.10, 0.11, 0.22} * grain;
          }
          // The evening star with its glow.
          const double vx = 0.73, vy = 0.58;
          const double dv = std::hypot(u - vx, v - vy);
          const double spike = std::exp(-std::fabs(u - vx) / 0.006) * std::exp(-std::fabs(v - vy) / 0.09) +
                               std::exp(-std::fabs(v - vy) / 0.006) * std::exp(-std::fabs(u - vx) / 0.09);
          c = c + Vec3{1.0, 0.97, 0.88} * (1.6 * std::exp(-dv / 0.018) + 0.5 * spike);
          // Hills against the glow.
          const double ridge = 0.84 + 0.035 * std::sin(u * 7.0 + 0.6) + 0.02 * std::sin(u * 17.0 + 2.0);
          if (v > ridge) c = Vec3{0.02, 0.02, 0.05};
          sum = sum + c;
          alpha += 1;
        }
      }
      const double n = kSuper * kSuper;
      if (alpha <= 0) {
        out.setPixel(x, y, 0);
        continue;
      }
      const Vec3 c = sum * (1.0 / alpha);
      const auto tone = [](double v) {
        return static_cast<int>(std::lround(255.0 * std::pow(Clamp(v, 0.0, 1.0), 1.0 / 2.2)));
      };
      out.setPixel(x, y, qRgba(tone(c.x), tone(c.y), tone(c.z), static_cast<int>(std::lround(255.0 * alpha / n))));
    }
  }
  return out;
}

}  // namespace picgen
