// The day's light: how long the Sun stands above the horizon, and the Moon's
// illuminated fraction and age at local noon, as numbers and as text lines.
#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "chart/day_chart.h"
#include "language/translations.h"

namespace vk {

std::optional<double> Day_Length_Hours(const EventStore& store, double Sel_JD) {
  if (store.Event_Count == 0) return std::nullopt;
  tRiseSet rs;
  Find_Up_Spans(store, Sel_JD, Sun, rs);
  double hours = 0;
  for (const auto& [from, to] : rs.Up_Spans) hours += to - from;
  return hours;
}

std::string Hours_Minutes_Text(double hours, bool seconds) {
  const long long unit = seconds ? 1 : 60;
  const long long total = std::llround(hours * 3600 / static_cast<double>(unit)) * unit;
  // Appended piece by piece: GCC 12 takes ":" + string for an overlapping copy.
  std::string text = LastDigits(total / 3600, 2);
  text += ':';
  text += LastDigits(total / 60 % 60, 2);
  if (seconds) {
    text += ':';
    text += LastDigits(total % 60, 2);
  }
  return text;
}

std::vector<std::string> Day_Light_Lines(const EventStore& store, double Sel_JD) {
  std::vector<std::string> lines;
  if (const tMoonLight* m = store.moon_days.on(Sel_JD)) {
    const QString fraction = QString::fromStdString(FormatFixed(m->fraction * 100, 1));
    const QString age = m->age_days ? QString::fromStdString(FormatFixed(*m->age_days, 2)) : QStringLiteral("--");
    lines.push_back(QCoreApplication::translate("DayChart", "Mond: %1 % beleuchtet, Alter %2 Tage (Mittag)")
                        .arg(fraction, age)
                        .toStdString());
  }
  if (const auto hours = Day_Length_Hours(store, Sel_JD))
    lines.push_back(Chart_Tr(QT_TRANSLATE_NOOP("DayChart", "Tageslänge: ")) + Hours_Minutes_Text(*hours, true));
  return lines;
}

std::vector<tListedEvent> Day_Light_Labels(const EventStore& store, double Sel_JD) {
  std::vector<tListedEvent> labels;
  if (const auto hours = Day_Length_Hours(store, Sel_JD)) {
    // Exactly 24 or 0 only when the Sun stays up, or down, the whole day.
    const char* wording = *hours >= 24.0  ? QT_TRANSLATE_NOOP("DayChart", "Tageslänge %1 (Polartag)")
                          : *hours <= 0.0 ? QT_TRANSLATE_NOOP("DayChart", "Tageslänge %1 (Polarnacht)")
                                          : QT_TRANSLATE_NOOP("DayChart", "Tageslänge %1");
    tListedEvent day;
    day.marker_y = day.label_y = kLabelTop;
    day.marked = false;
    day.body = BodyText(BodyNames[Sun], UiLanguage());
    day.text = QCoreApplication::translate("DayChart", wording)
                   .arg(QString::fromStdString(Hours_Minutes_Text(*hours, false)))
                   .toStdString();
    labels.push_back(std::move(day));
  }
  if (const tMoonLight* m = store.moon_days.on(Sel_JD)) {
    tListedEvent moon;
    moon.marker_y = moon.label_y = Chart_Y(12 * 60);
    moon.time = "12:00:00";
    moon.body = BodyText(BodyNames[Moon], UiLanguage());
    const QString age = m->age_days ? QString::fromStdString(FormatFixed(*m->age_days, 1)) : QStringLiteral("--");
    moon.text = QCoreApplication::translate("DayChart", "%1 % beleuchtet, Alter %2 Tage")
                    .arg(QString::fromStdString(FormatFixed(m->fraction * 100, 1)), age)
                    .toStdString();
    labels.push_back(std::move(moon));
  }
  return labels;
}

void Add_Day_Light_Labels(std::vector<tListedEvent>& listed, const EventStore& store, double Sel_JD) {
  for (tListedEvent& label : Day_Light_Labels(store, Sel_JD)) {
    const auto at = std::upper_bound(listed.begin(), listed.end(), label.marker_y,
                                     [](int y, const tListedEvent& e) { return y < e.marker_y; });
    listed.insert(at, std::move(label));
  }
}

}  // namespace vk
