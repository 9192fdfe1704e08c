#include "mainwindow/screendump.h"

#include "base/bmp_writer.h"

namespace vk {

void SaveBmp32(const QImage& source, const std::filesystem::path& path) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  BmpLayout layout;
  layout.width = static_cast<std::uint32_t>(image.width());
  layout.height = static_cast<std::uint32_t>(image.height());
  layout.bits = 32;
  layout.pixels_per_metre = 3780;  // 96 dpi
  // RGB32 rows are blue, green, red, unused on little-endian machines: the BMP's byte order.
  WriteBmp(path, layout, [&](int y) { return static_cast<const void*>(image.constScanLine(y)); });
}

}  // namespace vk
