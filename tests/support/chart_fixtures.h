// Small event tables and phase tables built by hand for exact chart tests.
#pragma once
#include <QColor>
#include <QImage>
#include <array>
#include <deque>
#include <string>

#include "chart/day_chart.h"
#include "timecalc/calendar.h"

namespace vk::test {

// Julian day of a local date and time.
inline double Local(int y, int mo, int d, int h, int mi, double s = 0) { return CalendarToJD(y, mo, d, h, mi, s); }

// An event table filled in order of jd_local (1 … n).
struct StoreBuilder {
  EventStore store;
  std::deque<std::string> texts;  // what the entries' texts view; a deque keeps them in place
  tEventData& add(double jd_local, const std::string& body, const std::string& event) {
    tEventData e;
    e.jd_ut = jd_local - 1.0 / 24.0;
    e.jd_local = jd_local;
    e.body = texts.emplace_back(body);
    e.event = texts.emplace_back(event);
    e.note = "\t";
    store.Event_Tab.push_back(e);
    ++store.Event_Count;
    return store.Event_Tab.back();
  }
};

// The Sun's nine events of one day in the order of a regular day: MAstrD,
// MNautD, MBurgD, Aufgang, wahrer Mittag, Untergang, ABurgD, ANautD, AAstrD;
// each a local date (day may run past the month's days) and time.
struct SunTime {
  int day, hour, minute;
};
inline void AddSunDay(StoreBuilder& b, int y, int mo, const std::array<SunTime, 9>& times) {
  static constexpr const char* kOrder[9] = {"MAstrD", "MNautD", "MBurgD", "Aufgang", "wahrer Mittag",
                                            "Untergang", "ABurgD", "ANautD", "AAstrD"};
  for (std::size_t k = 0; k < 9; ++k) b.add(Local(y, mo, times[k].day, times[k].hour, times[k].minute), "Sonne", kOrder[k]);
}

// A phase table with one record per day from `first_jd` on.
inline PhaseTable Phases(double first_jd, int days, int moon, int mercury, int venus) {
  PhaseTable t;
  for (int k = 1; k <= days; ++k) {
    auto& r = t.Phase_Tab[static_cast<std::size_t>(k)];
    r.jd = first_jd + (k - 1);
    r.moon = static_cast<std::uint8_t>(moon);
    r.mercury = static_cast<std::uint8_t>(mercury);
    r.venus = static_cast<std::uint8_t>(venus);
  }
  t.Phase_Count = days;
  return t;
}

inline QColor Pixel(const QImage& img, int x, int y) { return QColor(img.pixel(x, y)); }

inline std::string Rgb(const QColor& c) {
  return std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue());
}
inline std::string Rgb(const QImage& img, int x, int y) { return Rgb(Pixel(img, x, y)); }

// Row of a local time of day.
inline int Row(int h, int mi) { return Chart_Y(h * 60 + mi); }

}  // namespace vk::test
