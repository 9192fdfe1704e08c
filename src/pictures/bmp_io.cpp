#include "pictures/bmp_io.h"

#include <cstring>
#include <string>

#include "base/whole_file.h"
#include "base/error.h"

namespace vk {
namespace {

std::uint32_t Get16(const std::uint8_t* p) { return p[0] | (static_cast<std::uint32_t>(p[1]) << 8); }
std::uint32_t Get32(const std::uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }

std::size_t PaddedStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3); }

BmpLayout Layout24(const Bitmap24& picture) {
  BmpLayout l;
  l.width = picture.empty() ? 0 : static_cast<std::uint32_t>(picture.width);
  l.height = picture.empty() ? 0 : static_cast<std::uint32_t>(picture.height);
  l.bits = 24;
  return l;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Bitmap24& picture) {
  return EncodeBmp(Layout24(picture), [&](int y) { return static_cast<const void*>(picture.row(y)); });
}

void SaveBmp24(const Bitmap24& picture, const std::filesystem::path& file) {
  WriteBmp(file, Layout24(picture), [&](int y) { return static_cast<const void*>(picture.row(y)); });
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
  const std::string data = ReadWholeFile(file, kPictureFileLimit);
  Bitmap24 picture;
  if (!DecodeBmp24(data.data(), data.size(), picture)) throw Error(kBitmapNotValid, file.string());
  return picture;
}

}  // namespace vk
