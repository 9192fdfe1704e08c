// The span of days the data folder covers and the tables of the period that
// holds a day: the folder's own for the documented decade, else made once
// into the user's cache folder.
#pragma once
#include <filesystem>
#include <string>

#include "data_folder.h"
#include "ephemeris/period.h"
#include "events/almanac.h"

namespace vk::tool {

// The years the coefficient file of the data folder covers (DataSpanOfFolder).
// Throws: Error naming the coefficient file when it is damaged.
tDataSpan DataSpan(const DataFolder& data);

// Throws: UsageError "<option>: <text> is outside <span>" for a day outside the span.
void CheckInSpan(double jd, const std::string& text, const std::string& option, const tDataSpan& span);

struct PeriodTables {
  tPeriod period;
  std::filesystem::path dir;      // its nine tables and phase table
  std::filesystem::path log_dir;  // its event log
};

// The tables of the period that holds `day`: the data folder's for the
// documented decade when it has them, otherwise those in the cache folder
// ($XDG_CACHE_HOME/vesperkalend, else ~/.cache/vesperkalend), made there
// first when any is missing, with a progress bar on stderr.
// Throws: Error from the making (the coefficient file damaged, the cache
// folder not writable, the disk full), no table of the period left then.
PeriodTables TablesForDay(const DataFolder& data, const tDataSpan& span, double day);

// Makes `tables` the period `almanac` computes next, the hours around it
// made from the data folder's coefficients when it has them (so that the
// period's first and last local day are complete). Never fails.
void UsePeriodTables(Almanac& almanac, const DataFolder& data, const PeriodTables& tables);

}  // namespace vk::tool
