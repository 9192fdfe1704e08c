#include "pictures/stretch.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/error.h"

namespace vk {
namespace {

// The source pixels that make up each target pixel along one axis, with
// integer weights. Measured in units of 1/n of a source pixel, where n is the
// target length, target pixel u covers [u*m, (u+1)*m) (m = source length) and
// source pixel s covers [s*n, (s+1)*n): the overlaps are integers and the
// weights of every target pixel add up to m exactly.
struct AreaTaps {
  std::vector<int> start;         // per target pixel: index into src/weight
  std::vector<int> src;           // source index (absolute), or -1 when outside the picture
  std::vector<int> rel;           // source index relative to the rectangle
  std::vector<std::uint32_t> weight;
};

AreaTaps MakeAreaTaps(int origin, int m, int n, int limit) {
  AreaTaps taps;
  taps.start.reserve(static_cast<std::size_t>(n) + 1);
  for (int u = 0; u < n; ++u) {
    taps.start.push_back(static_cast<int>(taps.src.size()));
    const std::int64_t lo = static_cast<std::int64_t>(u) * m;
    const std::int64_t hi = lo + m;
    for (std::int64_t s = lo / n; s * n < hi; ++s) {
      const std::int64_t a = s * n > lo ? s * n : lo;
      const std::int64_t b = (s + 1) * n < hi ? (s + 1) * n : hi;
      if (b <= a) continue;
      const std::int64_t abs = origin + s;
      taps.rel.push_back(static_cast<int>(s));
      taps.src.push_back(abs >= 0 && abs < limit ? static_cast<int>(abs) : -1);
      taps.weight.push_back(static_cast<std::uint32_t>(b - a));
    }
  }
  taps.start.push_back(static_cast<int>(taps.src.size()));
  return taps;
}

// Halftone copy: a horizontal pass per source row (unnormalised sums, which
// stay exact), then a vertical pass per target row over the rows it needs.
// Each source row is filtered once and kept while target rows still use it.
void HalftoneCopy(const Bitmap24& src, const PixelRect& from, Bitmap24& dst, const PixelRect& to) {
  const int m_w = from.width(), m_h = from.height();
  const int n_w = to.width(), n_h = to.height();
  const AreaTaps hx = MakeAreaTaps(from.left, m_w, n_w, src.width);
  const AreaTaps vy = MakeAreaTaps(from.top, m_h, n_h, src.height);
  const std::size_t row_len = static_cast<std::size_t>(n_w) * 3;

  // Ring of filtered source rows, keyed by the row's index relative to the
  // rectangle: the rows of one target row are consecutive, so they never
  // share a slot.
  const int max_rows = [&] {
    int most = 1;
    for (int v = 0; v < n_h; ++v) most = std::max(most, vy.start[v + 1] - vy.start[v]);
    return most + 1;
  }();
  std::vector<std::uint32_t> ring(static_cast<std::size_t>(max_rows) * row_len);
  std::vector<int> ring_row(static_cast<std::size_t>(max_rows), -2);
  std::vector<std::uint64_t> acc(row_len);
  const std::uint64_t denominator = static_cast<std::uint64_t>(m_w) * static_cast<std::uint64_t>(m_h);

  for (int v = 0; v < n_h; ++v) {
    std::fill(acc.begin(), acc.end(), 0);
    for (int t = vy.start[v]; t < vy.start[v + 1]; ++t) {
      const int sy = vy.src[t];
      if (sy < 0) continue;  // a row outside the picture is black
      const int rel = vy.rel[t];
      const std::size_t slot = static_cast<std::size_t>(rel % max_rows);
      std::uint32_t* line = ring.data() + slot * row_len;
      if (ring_row[slot] != rel) {
        const std::uint8_t* in = src.row(sy);
        for (int u = 0; u < n_w; ++u) {
          std::uint32_t b = 0, g = 0, r = 0;
          for (int k = hx.start[u]; k < hx.start[u + 1]; ++k) {
            const int sx = hx.src[k];
            if (sx < 0) continue;
            const std::uint32_t w = hx.weight[k];
            const std::uint8_t* px = in + static_cast<std::size_t>(sx) * 3;
            b += w * px[0];
            g += w * px[1];
            r += w * px[2];
          }
          line[3 * u] = b;
          line[3 * u + 1] = g;
          line[3 * u + 2] = r;
        }
        ring_row[slot] = rel;
      }
      const std::uint64_t w = vy.weight[t];
      for (std::size_t i = 0; i < row_len; ++i) acc[i] += w * line[i];
    }
    std::uint8_t* out = dst.row(to.top + v) + static_cast<std::size_t>(to.left) * 3;
    for (std::size_t i = 0; i < row_len; ++i)
      out[i] = static_cast<std::uint8_t>((acc[i] + denominator / 2) / denominator);
  }
}

std::vector<int> CentreSamples(int origin, int m, int n, int limit) {
  std::vector<int> taps(static_cast<std::size_t>(n));
  for (int u = 0; u < n; ++u) {
    const std::int64_t s = origin + (2 * static_cast<std::int64_t>(u) + 1) * m / (2 * static_cast<std::int64_t>(n));
    taps[static_cast<std::size_t>(u)] = s >= 0 && s < limit ? static_cast<int>(s) : -1;
  }
  return taps;
}

void ColorOnColorCopy(const Bitmap24& src, const PixelRect& from, Bitmap24& dst, const PixelRect& to) {
  const std::vector<int> cols = CentreSamples(from.left, from.width(), to.width(), src.width);
  const std::vector<int> rows = CentreSamples(from.top, from.height(), to.height(), src.height);
  for (int v = 0; v < to.height(); ++v) {
    std::uint8_t* out = dst.row(to.top + v) + static_cast<std::size_t>(to.left) * 3;
    const int sy = rows[static_cast<std::size_t>(v)];
    for (int u = 0; u < to.width(); ++u, out += 3) {
      const int sx = cols[static_cast<std::size_t>(u)];
      if (sy < 0 || sx < 0) {
        out[0] = out[1] = out[2] = 0;
      } else {
        const std::uint8_t* px = src.pixel(sx, sy);
        out[0] = px[0];
        out[1] = px[1];
        out[2] = px[2];
      }
    }
  }
}

}  // namespace

void StretchCopy(const Bitmap24& src, const PixelRect& from, Bitmap24& dst, const PixelRect& to, StretchMode mode) {
  if (from.width() <= 0 || from.height() <= 0 || to.width() <= 0 || to.height() <= 0 || to.left < 0 || to.top < 0 ||
      to.right > dst.width || to.bottom > dst.height)
    throw Error(kRangeCheckError);
  if (mode == StretchMode::Halftone)
    HalftoneCopy(src, from, dst, to);
  else
    ColorOnColorCopy(src, from, dst, to);
}

}  // namespace vk
