#include "mainwindow/screendump.h"

#include <cstdint>
#include <vector>

#include "ephemeris/atomic_file.h"

namespace vk {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

void SaveBmp32(const QImage& source, const std::filesystem::path& path) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const auto w = static_cast<std::uint32_t>(image.width());
  const auto h = static_cast<std::uint32_t>(image.height());
  const std::uint32_t pixels = w * h * 4;
  std::vector<std::uint8_t> header;
  header.reserve(54);
  header.push_back('B');
  header.push_back('M');
  Put32(header, 54 + pixels);  // file size
  Put32(header, 0);
  Put32(header, 54);           // offset of the pixels
  Put32(header, 40);           // BITMAPINFOHEADER
  Put32(header, w);
  Put32(header, h);            // positive: bottom-up rows
  Put16(header, 1);
  Put16(header, 32);
  Put32(header, 0);            // BI_RGB
  Put32(header, pixels);
  Put32(header, 3780);         // 96 dpi
  Put32(header, 3780);
  Put32(header, 0);
  Put32(header, 0);
  AtomicFile out(path);
  out.write(header.data(), header.size());
  // RGB32 rows are blue, green, red, unused on little-endian machines: the BMP's byte order.
  for (int y = image.height() - 1; y >= 0; --y) out.write(image.constScanLine(y), w * 4);
  out.commit();
}

}  // namespace vk
