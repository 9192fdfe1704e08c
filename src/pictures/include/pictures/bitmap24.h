// A 24-bit picture held in memory the way the phase-picture tools work on it:
// three bytes per pixel in the order blue, green, red, rows from top to
// bottom, no row padding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk {

// A rectangle of pixels, left and top inclusive, right and bottom exclusive
// (as a GDI RECT).
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct Bitmap24 {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // width * height * 3 bytes, B G R

  // Sets the size (pixels, >= 0) and makes every pixel black.
  void reset(int w, int h) {
    width = w;
    height = h;
    bytes.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3, 0);
  }
  // Makes the picture empty (0 x 0) and releases its memory.
  void clear() {
    width = height = 0;
    std::vector<std::uint8_t>().swap(bytes);
  }
  bool empty() const { return width <= 0 || height <= 0; }
  std::size_t stride() const { return static_cast<std::size_t>(width) * 3; }
  // Row y (0 = top). No range check.
  std::uint8_t* row(int y) { return bytes.data() + static_cast<std::size_t>(y) * stride(); }
  const std::uint8_t* row(int y) const { return bytes.data() + static_cast<std::size_t>(y) * stride(); }
  // The three bytes (B, G, R) of pixel (x, y). No range check.
  std::uint8_t* pixel(int x, int y) { return row(y) + static_cast<std::size_t>(x) * 3; }
  const std::uint8_t* pixel(int x, int y) const { return row(y) + static_cast<std::size_t>(x) * 3; }
};

}  // namespace vk
