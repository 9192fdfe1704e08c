// The golden and blue hours of the chosen day as translucent bands over the
// Sun's bands.
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "chart/day_chart.h"

namespace vk {

namespace {

using Spans = std::vector<std::pair<double, double>>;

// The parts of the spans `a` outside the spans `b` (both in time order, each
// without overlaps); parts shorter than a second are dropped.
Spans Without(const Spans& a, const Spans& b) {
  constexpr double kSecond = 1.0 / 3600.0;
  Spans out;
  for (auto [from, to] : a) {
    for (const auto& [cut_from, cut_to] : b) {
      if (cut_to <= from || cut_from >= to) continue;
      if (cut_from - from > kSecond) out.emplace_back(from, cut_from);
      from = std::max(from, cut_to);
    }
    if (to - from > kSecond) out.emplace_back(from, to);
  }
  return out;
}

}  // namespace

tLightSpans Find_Light_Spans(const EventStore& store, double Sel_JD) {
  using K = EventKind;
  const Spans civil = Find_Level_Spans(store, Sel_JD, Sun, K::MBurgD, K::ABurgD);
  const Spans low = Find_Level_Spans(store, Sel_JD, Sun, K::MGoldB, K::AGoldE);
  const Spans high = Find_Level_Spans(store, Sel_JD, Sun, K::MGoldE, K::AGoldB);
  return {Without(low, high), Without(civil, low)};
}

void Draw_Light_Spans(QPainter& p, const tLightSpans& spans, const tChartPalette& colours) {
  const auto paint = [&](const Spans& list, const QColor& colour) {
    for (const auto& [from, to] : list) {
      // Rows of the first and last minute, each one row high as the bands' minutes are drawn.
      const int y1 = Chart_Y(std::clamp(from * 60.0, 0.0, 1440.0));
      const int y2 = Chart_Y(std::clamp(to * 60.0, 0.0, 1440.0));
      p.fillRect(QRect(100, y1, 800, std::max(1, y2 - y1)), colour);
    }
  };
  paint(spans.golden, colours.golden_hour);
  paint(spans.blue, colours.blue_hour);
}

}  // namespace vk
