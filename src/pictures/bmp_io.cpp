#include "pictures/bmp_io.h"

#include <cstring>
#include <string>

#include "ephemeris/atomic_file.h"
#include "ephemeris/file_text.h"
#include "timecalc/errors.h"

namespace vk {
namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}
std::uint32_t Get16(const std::uint8_t* p) { return p[0] | (static_cast<std::uint32_t>(p[1]) << 8); }
std::uint32_t Get32(const std::uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }

std::size_t PaddedStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Bitmap24& picture) {
  const int w = picture.empty() ? 0 : picture.width;
  const int h = picture.empty() ? 0 : picture.height;
  const std::size_t stride = PaddedStride(w);
  const std::size_t image = stride * static_cast<std::size_t>(h);
  std::vector<std::uint8_t> out(kBmpHeaderSize + image, 0);
  std::uint8_t* p = out.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<std::uint32_t>(out.size()));
  Put32(p + 10, kBmpHeaderSize);
  Put32(p + 14, 40);
  Put32(p + 18, static_cast<std::uint32_t>(w));
  Put32(p + 22, static_cast<std::uint32_t>(h));
  Put16(p + 26, 1);
  Put16(p + 28, 24);
  Put32(p + 30, 0);  // BI_RGB
  Put32(p + 34, static_cast<std::uint32_t>(image));
  for (int y = 0; y < h; ++y)
    std::memcpy(p + kBmpHeaderSize + static_cast<std::size_t>(h - 1 - y) * stride, picture.row(y), picture.stride());
  return out;
}

void SaveBmp24(const Bitmap24& picture, const std::filesystem::path& file) {
  const std::vector<std::uint8_t> data = EncodeBmp24(picture);
  AtomicFile out(file);
  out.write(data.data(), data.size());
  out.commit();
}

bool DecodeBmp24(const void* data, std::size_t size, Bitmap24& picture) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  picture.clear();
  if (size < kBmpHeaderSize || p[0] != 'B' || p[1] != 'M') return false;
  const std::uint32_t offset = Get32(p + 10);
  const std::uint32_t info = Get32(p + 14);
  if (info < 40 || offset < 14 + info) return false;
  const auto w = static_cast<std::int32_t>(Get32(p + 18));
  const auto hs = static_cast<std::int32_t>(Get32(p + 22));
  if (Get16(p + 26) != 1 || Get16(p + 28) != 24 || Get32(p + 30) != 0) return false;
  if (w <= 0 || hs == 0 || hs == INT32_MIN || w > 65535 || hs > 65535 || hs < -65535) return false;
  const int h = hs < 0 ? -hs : hs;
  const std::size_t stride = PaddedStride(w);
  if (offset > size || (size - offset) / stride < static_cast<std::size_t>(h)) return false;
  picture.reset(w, h);
  for (int y = 0; y < h; ++y) {
    const int stored = hs > 0 ? h - 1 - y : y;
    std::memcpy(picture.row(y), p + offset + static_cast<std::size_t>(stored) * stride, picture.stride());
  }
  return true;
}

Bitmap24 LoadBmp24(const std::filesystem::path& file) {
  const std::string data = ReadWholeFile(file);
  Bitmap24 picture;
  if (!DecodeBmp24(data.data(), data.size(), picture)) throw Error(kBitmapNotValid, file.string());
  return picture;
}

}  // namespace vk
