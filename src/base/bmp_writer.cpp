#include "base/bmp_writer.h"

#include <cstring>

#include "base/atomic_file.h"

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

}  // namespace

std::array<std::uint8_t, kBmpHeaderSize> BmpHeader(const BmpLayout& l) {
  std::array<std::uint8_t, kBmpHeaderSize> h{};
  std::uint8_t* p = h.data();
  const auto image = static_cast<std::uint32_t>(l.image_size());
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<std::uint32_t>(kBmpHeaderSize) + image);
  Put32(p + 10, kBmpHeaderSize);
  Put32(p + 14, 40);
  Put32(p + 18, l.width);
  Put32(p + 22, l.height);
  Put16(p + 26, 1);
  Put16(p + 28, static_cast<std::uint32_t>(l.bits));
  Put32(p + 30, 0);  // BI_RGB
  Put32(p + 34, image);
  Put32(p + 38, l.pixels_per_metre);
  Put32(p + 42, l.pixels_per_metre);
  return h;
}

std::vector<std::uint8_t> EncodeBmp(const BmpLayout& l, const std::function<const void*(int y)>& row) {
  const auto header = BmpHeader(l);
  std::vector<std::uint8_t> out(kBmpHeaderSize + l.image_size(), 0);
  std::memcpy(out.data(), header.data(), header.size());
  const std::size_t bytes = static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.bits / 8);
  const int h = static_cast<int>(l.height);
  for (int y = 0; y < h; ++y)
    std::memcpy(out.data() + kBmpHeaderSize + static_cast<std::size_t>(h - 1 - y) * l.stride(), row(y), bytes);
  return out;
}

void WriteBmp(const std::filesystem::path& path, const BmpLayout& l, const std::function<const void*(int y)>& row) {
  AtomicFile out(path);
  const auto header = BmpHeader(l);
  out.write(header.data(), header.size());
  const std::size_t bytes = static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.bits / 8);
  const std::vector<std::uint8_t> padding(l.stride() - bytes, 0);
  for (int y = static_cast<int>(l.height) - 1; y >= 0; --y) {
    out.write(row(y), bytes);
    if (!padding.empty()) out.write(padding.data(), padding.size());
  }
  out.commit();
}

}  // namespace vk
