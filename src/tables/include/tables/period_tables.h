// Where the tables of a period are and their making when missing, for the
// window and the tool alike.
#pragma once
#include <filesystem>
#include <functional>
#include <span>
#include <stop_token>
#include <utility>
#include <vector>

#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"

namespace vk::ephemgen {

// The years the coefficient file of the data folder `data_dir` covers, or the
// documented decade when the folder holds none (its ten files alone). Reads
// the file's header and its first and last records only; the checksum is
// checked when tables are made from it.
// Throws: Error naming the coefficient file when its size, header or end
// records are wrong (see De405Extract::ReadSpan).
tDataSpan DataSpanOfFolder(const std::filesystem::path& data_dir);

// True when `dir` holds the nine tables and the phase table of `period`.
bool HasPeriodTables(const std::filesystem::path& dir, const tPeriod& period);

// The folder with the tables of `period`: `data_dir` for the documented
// decade when it has them or holds no coefficient file (its ten files alone,
// a missing one named when it is read), else `cache_dir`, where they are made first from
// the data folder's coefficient and constellation files when any is missing
// (binary directly, on every core, the nutation and TDB − TT
// interpolated between nodes every fourth hour except for the documented
// decade, which keeps its bytes; `fraction` told the share done).
// Throws: Cancelled when `stop` is requested while they are made; Error from
// the making (the coefficient file damaged, the folder not writable, the
// disk full). No table of the period is left in `cache_dir` then.
std::filesystem::path PeriodTablesDir(const std::filesystem::path& data_dir, const std::filesystem::path& cache_dir,
                                      const tPeriod& period, const std::function<void(double)>& fraction = {},
                                      std::stop_token stop = {});

// The hourly records of ranges of hours counted from 00:00 UT of the first
// day of a period (HourRecords), made from the coefficient and constellation
// files of `data_dir` as the tables of the periods are made (the nutation and
// TDB − TT interpolated: hours of the documented decade differ from its
// files' by no more than 5e-12 rad and 1e-12 s); an empty function when the
// folder holds no coefficient file. The function throws HourRecords' Error.
std::function<std::vector<tEphemerisData>(const tPeriod& period, std::span<const std::pair<int, int>> hours)>
HourRowsOfFolder(const std::filesystem::path& data_dir);

}  // namespace vk::ephemgen
