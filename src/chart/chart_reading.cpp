// What helps reading a crowded chart: labels spread without overlaps with
// leader lines to their rows, the legend of the planet columns, the line of
// the present moment, and where each bar and picture lies for the window's
// tooltips.
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "chart/day_chart.h"
#include "language/translations.h"
#include "timecalc/numeric.h"

namespace vk {

std::vector<int> Spread_Label_Rows(const std::vector<int>& wanted, int spacing, int top, int bottom) {
  const std::size_t n = wanted.size();
  std::vector<int> rows(n);
  if (n == 0) return rows;
  // Where the list does not fit at full spacing, the spacing shrinks to fill it.
  const double room = bottom - top;
  const double step = n > 1 ? std::min<double>(spacing, room / static_cast<double>(n - 1)) : spacing;
  // Rows p_i with p_{i+1} - p_i >= step nearest the wanted ones (least
  // squares): with q_i = p_i - i step the q_i only have to rise, which pooling
  // adjacent violators solves; a block of pooled labels sits centred on its
  // own rows, some moved up, some down.
  struct Block {
    double sum;
    std::size_t count;
    double mean() const { return sum / static_cast<double>(count); }
  };
  std::vector<Block> blocks;
  blocks.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    blocks.push_back({wanted[i] - static_cast<double>(i) * step, 1});
    while (blocks.size() > 1 && blocks[blocks.size() - 2].mean() >= blocks.back().mean()) {
      blocks[blocks.size() - 2].sum += blocks.back().sum;
      blocks[blocks.size() - 2].count += blocks.back().count;
      blocks.pop_back();
    }
  }
  // Kept within top … bottom: the first label not above top, the last not below bottom.
  const double lowest = top, highest = bottom - static_cast<double>(n - 1) * step;
  std::size_t i = 0;
  for (const Block& b : blocks) {
    const double q = std::clamp(b.mean(), lowest, std::max(lowest, highest));
    for (std::size_t k = 0; k < b.count; ++k, ++i)
      rows[i] = static_cast<int>(std::floor(q + static_cast<double>(i) * step + 0.5));
  }
  return rows;
}

void Spread_Labels(std::vector<tListedEvent>& listed) {
  std::vector<int> wanted;
  wanted.reserve(listed.size());
  for (const tListedEvent& e : listed) wanted.push_back(e.marker_y);
  const std::vector<int> rows = Spread_Label_Rows(wanted, kLabelSpacing, kLabelTop, kLabelBottom);
  for (std::size_t i = 0; i < listed.size(); ++i) listed[i].label_y = rows[i];
}

void Draw_Leader_Lines(QPainter& p, const std::vector<tListedEvent>& listed, const tChartPalette& colours) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(colours.marker, 2));
  for (const tListedEvent& e : listed) {
    if (e.label_y == e.marker_y || !e.marked) continue;
    // From the end of the marker to the label's middle row, its text starting beyond.
    p.drawLine(QPointF(1012, e.marker_y - 5), QPointF(kLeaderTextX - 6, e.label_y - 5));
  }
  p.restore();
}

void Draw_Legend(QPainter& p, const tChartPalette& colours) {
  p.save();
  p.setFont(Legend_Font());
  const QFontMetrics fm = p.fontMetrics();
  for (const tBodyChart& b : Body_Charts) {
    const QString name = QString::fromStdString(std::string(BodyText(BodyNames[b.body], UiLanguage())));
    const int centre = (b.bar_x1 + b.bar_x2) / 2;
    const int width = fm.horizontalAdvance(name);
    // A swatch of the bar's colour, the name beneath it.
    p.fillRect(QRect(b.bar_x1, kLegendTop, std::max(4, b.bar_x2 - b.bar_x1), 12), colours.bar(b));
    p.setPen(colours.ink);
    p.drawText(centre - width / 2, kLegendTop + 16 + fm.ascent(), name);
  }
  p.restore();
}

std::optional<int> Now_Row(double Sel_JD, double now_local_jd) {
  if (!(now_local_jd >= Sel_JD && now_local_jd < Sel_JD + 1.0)) return std::nullopt;
  return Chart_Y(std::min((now_local_jd - Sel_JD) * 1440.0, 1439.999));
}

void Draw_Now_Line(QPainter& p, double Sel_JD, double now_local_jd, const tChartPalette& colours) {
  const auto y = Now_Row(Sel_JD, now_local_jd);
  if (!y) return;
  p.fillRect(QRect(60, *y - 1, 880, 3), colours.now);
  // A wedge on either side of the plot points at the row.
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(colours.now);
  p.drawPolygon(QPolygonF({QPointF(60, *y - 10), QPointF(80, *y), QPointF(60, *y + 10)}));
  p.drawPolygon(QPolygonF({QPointF(940, *y - 10), QPointF(920, *y), QPointF(940, *y + 10)}));
  p.restore();
}

std::vector<tChartHotspot> Chart_Hotspots(const DayChart& chart) {
  std::vector<tChartHotspot> spots;
  const auto rows = [](double from_h, double to_h) {
    const int y1 = Chart_Y(std::clamp(from_h, 0.0, 24.0) * 60.0);
    const int y2 = Chart_Y(std::clamp(to_h, 0.0, 24.0) * 60.0);
    return std::pair{y1, std::max(y2, y1 + 2)};
  };
  for (std::size_t b = 0; b < Body_Charts.size(); ++b) {
    const tBodyChart& body = Body_Charts[b];
    const tRiseSet& rs = chart.Rise_Sets[b];
    // A few pixels either side of thin bars, so that the pointer finds them.
    const int x1 = std::min(body.bar_x1, (body.bar_x1 + body.bar_x2) / 2 - 8);
    const int x2 = std::max(body.bar_x2, (body.bar_x1 + body.bar_x2) / 2 + 8);
    const auto add_bar = [&](double from_h, double to_h) {
      const auto [y1, y2] = rows(from_h, to_h);
      spots.push_back({QRect(x1, y1, x2 - x1, y2 - y1), static_cast<int>(b)});
    };
    std::optional<double> picture_h;
    if (rs.Bar_Regular) {
      if (rs.Rise_h && rs.Set_h) {
        // A set after midnight runs past the day's end to the top of the chart.
        add_bar(*rs.Rise_h, std::min(*rs.Set_h, 24.0));
        if (*rs.Set_h > 24.0) add_bar(0.0, *rs.Set_h - 24.0);
      }
      picture_h = rs.Rise_h;
    } else {
      for (const auto& [from, to] : rs.Up_Spans) add_bar(from, to);
      picture_h = rs.Picture_h;
    }
    const ImageList* list = body.pictures == PictureSet::MOO   ? chart.Pictures.MOO
                            : body.pictures == PictureSet::MER ? chart.Pictures.MER
                            : body.pictures == PictureSet::VEN ? chart.Pictures.VEN
                                                               : chart.Pictures.List1;
    if (picture_h && list) {
      const int s = Hours_To_Minute(*picture_h);
      const int y = Chart_Y(static_cast<double>(((s % 1440) + 1440) % 1440)) - body.picture_offset;
      spots.push_back({QRect(body.picture_x, y, list->width(), list->height()), static_cast<int>(b)});
    }
  }
  return spots;
}

std::optional<int> Body_At(const std::vector<tChartHotspot>& spots, QPoint chart_point) {
  // Pictures come after their bars and lie on top: the last one hit wins.
  for (auto it = spots.rbegin(); it != spots.rend(); ++it)
    if (it->rect.contains(chart_point)) return it->body;
  return std::nullopt;
}

std::string Body_Tooltip(const DayChart& chart, int body_index) {
  const tBodyChart& body = Body_Charts.at(static_cast<std::size_t>(body_index));
  const tRiseSet& rs = chart.Rise_Sets.at(static_cast<std::size_t>(body_index));
  std::string text(BodyText(BodyNames[body.body], UiLanguage()));
  text += "\n" + Chart_Tr(QT_TRANSLATE_NOOP("DayChart", "Aufgang:")) + " " + rs.Rise_Text;
  text += "\n" + Chart_Tr(QT_TRANSLATE_NOOP("DayChart", "Untergang:")) + " " + rs.Set_Text;
  return text;
}

}  // namespace vk
