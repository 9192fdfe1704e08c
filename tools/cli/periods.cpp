#include "periods.h"

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <string>

#include "base/platform.h"
#include "commands.h"
#include "tables/period_tables.h"

namespace vk::tool {
namespace {

constexpr int kBarWidth = 40;

// "Making the tables of 1962-1972 [########                ]  21 %" on one line
// of stderr.
void PrintBar(const std::string &what, double share) {
  if (!ProgressShown()) return;
  static int shown = -1;  // the percentage on the line now
  const int percent = static_cast<int>(share * 100);
  if (percent == shown) return;
  shown = percent;
  const int filled = static_cast<int>(share * kBarWidth);
  std::cerr << "\r" << what << " [" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << std::setw(3) << percent << " %"
            << std::flush;
}

}  // namespace

tDataSpan DataSpan(const DataFolder &data) { return ephemgen::DataSpanOfFolder(data.dir); }

void CheckInSpan(double jd, const std::string &text, const std::string &option, const tDataSpan &span) {
  if (!span.holds(jd)) throw UsageError{option + ": " + text + " is outside " + span.text()};
}

PeriodTables TablesForDay(const DataFolder& data, const tDataSpan& span, double day) {
  PeriodTables t;
  t.period = PeriodOfDay(day, span);
  t.log_dir = data.log_dir;
  const std::string what = "Making the tables of " + t.period.tag();
  bool shown = false;  // the bar is on the line: a line break ends it
  try {
    t.dir = ephemgen::PeriodTablesDir(data.dir, UserCacheDir(), t.period, [&](double share) {
      shown = ProgressShown();
      PrintBar(what, share);
    });
  } catch (...) {
    if (shown) std::cerr << "\n";
    throw;
  }
  if (shown) std::cerr << "\n";
  return t;
}

void UsePeriodTables(Almanac& almanac, const DataFolder& data, const PeriodTables& tables) {
  almanac.period = tables.period;
  if (!almanac.hour_rows) almanac.hour_rows = ephemgen::HourRowsOfFolder(data.dir);
}

}  // namespace vk::tool
