// Uncompressed BMP files, as written by the picture tools (24 bits) and the
// window's screen dump (32 bits).
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace vk {

// Size in bytes of the two BMP headers (BITMAPFILEHEADER + BITMAPINFOHEADER).
inline constexpr std::size_t kBmpHeaderSize = 14 + 40;

struct BmpLayout {
  std::uint32_t width = 0;             // pixels
  std::uint32_t height = 0;            // pixels
  int bits = 24;                       // 24 (B G R) or 32 (B G R unused)
  std::uint32_t pixels_per_metre = 0;  // both directions; 3780 is 96 dpi
  // Bytes of one stored row: width * bits / 8, padded to a multiple of 4.
  std::size_t stride() const { return (static_cast<std::size_t>(width) * (bits / 8) + 3) & ~std::size_t{3}; }
  std::size_t image_size() const { return stride() * height; }
};

// The 54 header bytes: "BM", file size, pixel offset 54, a 40-byte
// BITMAPINFOHEADER (width, positive height = rows stored bottom-up, 1 plane,
// `bits`, no compression, image size, resolution, no palette). Never throws.
std::array<std::uint8_t, kBmpHeaderSize> BmpHeader(const BmpLayout& layout);

// The whole file in memory: header, then the rows from the bottom up; row(y)
// gives the width * bits / 8 bytes of row y counted from the top, and the
// padding bytes are zero. Never throws except std::bad_alloc.
std::vector<std::uint8_t> EncodeBmp(const BmpLayout& layout, const std::function<const void*(int y)>& row);

// Writes the same bytes to `path` through a temporary file renamed over it
// when complete.
// Throws: Error with the system's text and the file; an existing file of that
//   name is then unchanged.
void WriteBmp(const std::filesystem::path& path, const BmpLayout& layout,
              const std::function<const void*(int y)>& row);

}  // namespace vk
