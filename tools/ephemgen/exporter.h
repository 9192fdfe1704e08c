// The whole export: nine hourly text exports and the daily phase table.
#pragma once
#include <filesystem>
#include <functional>
#include <string_view>

#include "phase_table.h"

namespace vk::ephemgen {

inline constexpr double kFirstRowJd = 2459580.5;  // 2022-01-01 0h UT
inline constexpr int kExportRows = 87651;         // hourly, to 2032-01-01 02:00 UT

// "Vesperkalend_2022-2032_MOOMERVEN_Phase.txt"
inline constexpr std::string_view kPhaseFileName = "Vesperkalend_2022-2032_MOOMERVEN_Phase.txt";

struct tExportOptions {
  std::filesystem::path extract;         // the DE405 extract
  std::filesystem::path constellations;  // the boundary table of Roman (1987)
  std::filesystem::path out_dir;         // receives _res/… and the phase file
  int threads = 0;                       // worker threads; 0: one per core
  int rows = kExportRows;                // lines per export: the first `rows` hours (1 … kExportRows)
  int phase_days = kPhaseDays;           // lines of the phase table (1 … kPhaseDays)
};

struct tExportSummary {
  int threads = 0;
  double seconds = 0;  // wall time of the whole run
};

// Writes out_dir/_res/HORIZONS_daten_2022-2032_<CODE>.txt for the nine bodies
// (`rows` lines each, hourly from kFirstRowJd) and out_dir/<kPhaseFileName>
// (`phase_days` lines, the pictures at 12:00 UT of each day from kFirstRowJd);
// shorter runs write the beginnings of the full files. Values of `rows` and
// `phase_days` outside their ranges are clamped into them. The work is shared by
// `threads` workers; the files are byte-identical for any number of them.
// Every file is written under a temporary name and all ten are renamed into
// place only when all are complete. `progress`, when given, receives short
// status texts.
// Throws: Error from reading the extract or the boundary table (file not
//   found, truncated, damaged), Error naming the extract and the row whose
//   instant it does not cover, or Error with the system's text for a file that
//   cannot be written. No file under a final name is changed then, unless the
//   final renames themselves fail (a file renamed before stays complete).
tExportSummary WriteExports(const tExportOptions& options,
                            const std::function<void(std::string_view)>& progress = {});

}  // namespace vk::ephemgen
