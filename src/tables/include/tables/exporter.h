// The whole export: nine hourly text exports and the daily phase table.
#pragma once
#include <filesystem>
#include <functional>
#include <span>
#include <stop_token>
#include <string_view>
#include <utility>
#include <vector>

#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"
#include "tables/phase_table.h"

namespace vk::ephemgen {


// What a run writes besides the phase table.
enum class ExportKind {
  Text,    // the nine text exports _res/HORIZONS_daten_<tag>_<CODE>.txt
  Binary,  // the nine binary tables HORIZONS_daten_<tag>_<CODE>.bin, the bytes the import makes of the text
};

struct tExportOptions {
  std::filesystem::path extract;         // the DE405 extract
  std::filesystem::path constellations;  // the boundary table of Roman (1987)
  std::filesystem::path out_dir;         // receives _res/… or the tables, and the phase file
  vk::tPeriod period = vk::kDocumentedPeriod;
  ExportKind kind = ExportKind::Text;
  int threads = 0;                       // worker threads; 0: one per core
  int rows = 0;                          // rows per body: the first `rows` hours (1 … period.rows(); 0: all)
  int phase_days = 0;                    // lines of the phase table (1 … period.phase_days(); 0: all)
  // Nutation and TDB − TT computed every fourth hour and interpolated
  // between (within 5e-12 rad and 1e-12 s of their series): half the work;
  // the last written digits differ from a run with the series at every hour.
  bool interpolate_time_terms = false;
  std::function<void(double)> fraction;  // when given: the share done, 0 … 1, from any thread, one call at a time
  std::stop_token stop;                  // when requested: the run ends with Cancelled, no file written
};

// Thrown when the run was stopped; nothing was written.
struct Cancelled {};

struct tExportSummary {
  int threads = 0;
  double seconds = 0;  // wall time of the whole run
};

// Writes out_dir/_res/HORIZONS_daten_<tag>_<CODE>.txt (or, for ExportKind::Binary,
// out_dir/HORIZONS_daten_<tag>_<CODE>.bin) for the nine bodies (`rows` rows
// each, hourly from the period's first day) and out_dir/Vesperkalend_<tag>_MOOMERVEN_Phase.txt
// (`phase_days` lines, the pictures at 12:00 UT of each day of the period);
// shorter runs write the beginnings of the full files. Values of `rows` and
// `phase_days` outside their ranges are clamped into them. The work is shared by
// `threads` workers, each taking a chunk of hours of all ten files at a
// time; the chunks are written in order as they are complete, so the files
// are byte-identical for any number of workers.
// Every file is written under a temporary name and all ten are renamed into
// place only when all are complete. `progress`, when given, receives short
// status texts.
// Throws: Error from reading the extract or the boundary table (file not
//   found, truncated, damaged), Error naming the extract and the row whose
//   instant it does not cover, or Error with the system's text for a file that
//   cannot be written (a full disk among them), or Cancelled. No file under a
//   final name is changed then, and no temporary is left, unless the final
//   renames themselves fail (a file renamed before stays complete).
tExportSummary WriteExports(const tExportOptions& options,
                            const std::function<void(std::string_view)>& progress = {});

// The binary records of the hours first_hour … end_hour − 1 counted from
// 00:00 UT of the first day of options.period (negative hours lie before it,
// hours from its rows() on after its rows): the bytes a binary table made with
// the same options.interpolate_time_terms holds at those instants, so the
// rows around a period equal the neighbouring period's own rows. Body-major:
// body b's hour first_hour + i at b × (end_hour − first_hour) + i. Reads
// the records of options.extract that those hours need (LoadSpans) and
// options.constellations; the other fields are unused.
// Throws: Error from loading either file, or the extract's Error naming the
// instant it does not hold.
std::vector<tEphemerisData> HourRecords(const tExportOptions& options, int first_hour, int end_hour);
// The same for several ranges of hours [first, end), their records one range
// after another (each body-major), the two files read once.
std::vector<tEphemerisData> HourRecords(const tExportOptions& options, std::span<const std::pair<int, int>> ranges);

}  // namespace vk::ephemgen
