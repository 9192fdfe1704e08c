// Small synthetic ephemerides: rows one hour apart whose quantities cross the
// thresholds at instants the tests know.
#pragma once
#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "ephemeris/ephemeris_store.h"
#include "basic_values.h"
#include "event_passes.h"
#include "events/site.h"

namespace vk::test {

inline constexpr double kJD0 = 2459580.5;  // row 1: 2022-01-01 00:00 UT
inline double RowJD(double row) { return kJD0 + (row - 1) / 24.0; }
inline constexpr double kSecond = 1.0 / 86400;

// One store shared by the tests of a binary; each test clears the bodies it uses.
struct Synthetic {
  EphemerisStore eph;
  BasicTable basic;
  Site site{47.5, 7.5, 1.0, {}};

  static Synthetic& Get() {
    static Synthetic s;
    return s;
  }
  // All rows of `body` zero, with hourly Julian days.
  void Clear(int body) {
    std::fill(eph.table(body), eph.table(body) + kEphemerisRows, tEphemerisRow{});
    std::memset(static_cast<void*>(&basic.at(body, 1)), 0, sizeof(tBasicRow) * kEphemerisRows);
    if (body == Mercury || body == Venus)
      for (int k = 1; k <= kEphemerisRows; ++k) basic.elong(body, k) = 0;
    for (int k = 1; k <= kEphemerisRows; ++k) eph.at(body, k).jd = RowJD(k);
  }
  std::string Run(int body) {
    LogText out;
    RunEventPasses(eph, basic, site, ComputeObserverConstants(site.Site_nLat), body, out, Interpolation::Classic);
    return std::string(out);
  }
};

// The fields of one log line (the text between TABs; the empty piece after the last TAB dropped).
inline std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  std::string cur;
  for (char c : line) {
    if (c == '\t') {
      f.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  return f;
}

// The lines of a log text without their CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

// Lines whose event name (field 4) is `event`.
inline std::vector<std::vector<std::string>> Events(const std::string& text, const std::string& event) {
  std::vector<std::vector<std::string>> out;
  for (const auto& l : Lines(text)) {
    auto f = Fields(l);
    if (f.size() > 3 && f[3] == event) out.push_back(f);
  }
  return out;
}

}  // namespace vk::test
