// The chart's colours on the screen and in print, and the print colours of
// its pictures.
#include <QHash>
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "chart/day_chart.h"

namespace vk {

QColor tChartPalette::bar(const tBodyChart& body) const {
  for (std::size_t b = 0; b < Body_Charts.size(); ++b)
    if (Body_Charts[b].body == body.body) return bars[b];
  return body.colour;
}

const tChartPalette& Screen_Palette() {
  static const tChartPalette palette = [] {
    tChartPalette c;
    c.ground = QColor(0, 0, 0);
    c.afternoon_plot = QColor(24, 24, 24);
    c.afternoon_list = QColor(40, 40, 40);
    c.levels = {QColor(0, 0, 80), QColor(32, 0, 128), QColor(160, 64, 0), QColor(160, 160, 0)};
    c.noon = QColor(255, 255, 0);
    c.golden_hour = kGoldenHourColour;
    c.blue_hour = kBlueHourColour;
    for (std::size_t b = 0; b < Body_Charts.size(); ++b) c.bars[b] = Body_Charts[b].colour;
    c.ink = QColor(255, 255, 255);
    c.marker = QColor(0, 255, 0);
    c.now = kNowColour;
    c.headlines = {QColor(200, 0, 0), QColor(255, 140, 0), QColor(120, 190, 255)};
    return c;
  }();
  return palette;
}

const tChartPalette& Print_Palette() {
  static const tChartPalette palette = [] {
    tChartPalette c = Screen_Palette();
    for (QColor* colour : {&c.ground, &c.afternoon_plot, &c.afternoon_list, &c.noon, &c.golden_hour, &c.blue_hour,
                           &c.ink, &c.marker, &c.now})
      *colour = Print_Colour(*colour);
    for (QColor& colour : c.levels) colour = Print_Colour(colour);
    for (QColor& colour : c.bars) colour = Print_Colour(colour);
    for (QColor& colour : c.headlines) colour = Print_Colour(colour);
    c.print = true;
    return c;
  }();
  return palette;
}

QColor Print_Colour(const QColor& colour) {
  const QColor hsl = colour.toHsl();
  return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), 255 - hsl.lightness(), colour.alpha()).toRgb();
}

QImage Print_Colours_Image(const QImage& img) {
  QImage out = img.convertToFormat(QImage::Format_RGB32);
  QHash<QRgb, QRgb> done;  // a chart has few colours besides its pictures
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const QRgb c = row[x] | 0xff000000u;
      auto it = done.constFind(c);
      if (it == done.cend()) it = done.insert(c, Print_Colour(QColor(c)).rgb());
      row[x] = *it;
    }
  }
  return out;
}

namespace {

// A set with each picture in print colours and its mask as it was.
std::unique_ptr<ImageList> Print_List(const ImageList& list) {
  const int size = list.width();
  QImage strip(size * list.count(), size, QImage::Format_RGB32);
  QImage mask(strip.size(), QImage::Format_Grayscale8);
  for (int k = 0; k < list.count(); ++k) {
    const QImage picture = Print_Colours_Image(list.image(k));
    const QImage m = list.mask(k);
    for (int y = 0; y < size; ++y) {
      std::copy_n(reinterpret_cast<const QRgb*>(picture.constScanLine(y)), size,
                  reinterpret_cast<QRgb*>(strip.scanLine(y)) + k * size);
      std::copy_n(m.constScanLine(y), size, mask.scanLine(y) + k * size);
    }
  }
  return std::make_unique<ImageList>(strip, mask, size);
}

}  // namespace

tChartPictures Print_Chart_Pictures(const tChartPictures& pictures) {
  static std::mutex lock;
  static std::map<const ImageList*, std::unique_ptr<ImageList>> made;
  const std::lock_guard<std::mutex> guard(lock);
  const auto print = [&](const ImageList* list) -> const ImageList* {
    if (list == nullptr || list->count() == 0) return list;
    auto& kept = made[list];
    if (!kept) kept = Print_List(*list);
    return kept.get();
  };
  return {print(pictures.MOO), print(pictures.MER), print(pictures.VEN), print(pictures.List1)};
}

}  // namespace vk
