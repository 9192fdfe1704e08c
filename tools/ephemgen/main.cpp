// ephemgen: writes the nine hourly text exports in the HORIZONS layout and the
// daily phase table from the DE405 extract.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "de405_extract.h"
#include "exporter.h"
#include "ephemeris/period.h"
#include "timecalc/calendar.h"
#include "base/error.h"
#include "base/number_text.h"

namespace {

constexpr const char* kUsage =
    "usage: ephemgen [--extract FILE] [--constellations FILE] [--out DIR] [--year YYYY] [--binary]\n"
    "                [--threads N] [--quiet]\n"
    "    writes DIR/_res/HORIZONS_daten_2022-2032_<CODE>.txt (nine bodies, hourly from\n"
    "    2022-01-01 00:00 UT, 87651 lines each) and DIR/Vesperkalend_2022-2032_MOOMERVEN_Phase.txt\n"
    "    --year            the period holding that year instead (1962-1972 for 1969 …)\n"
    "    --binary          the nine binary tables DIR/HORIZONS_daten_<period>_<CODE>.bin instead of the text\n"
    "    --extract         the DE405 extract (default " VK_EPHEMGEN_EXTRACT ")\n"
    "    --constellations  the constellation boundaries (default " VK_EPHEMGEN_CONSTELLATIONS ")\n"
    "    --out             the output folder (default: the current folder)\n"
    "    --threads         worker threads, 1 ... 64 (default: one per core)\n"
    "    --quiet           no status texts\n";

int Usage(const std::string& problem) {
  std::cerr << "ephemgen: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  vk::ephemgen::tExportOptions options;
  options.extract = VK_EPHEMGEN_EXTRACT;
  options.constellations = VK_EPHEMGEN_CONSTELLATIONS;
  options.out_dir = ".";
  bool quiet = false;
  std::string year_text;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--quiet") {
      quiet = true;
      continue;
    }
    if (arg == "--binary") {
      options.kind = vk::ephemgen::ExportKind::Binary;
      continue;
    }
    if (arg != "--extract" && arg != "--constellations" && arg != "--out" && arg != "--threads" && arg != "--year")
      return Usage("unknown argument '" + arg + "'");
    if (i + 1 >= argc) return Usage(arg + " needs a value");
    const std::string value = argv[++i];
    if (arg == "--extract") {
      options.extract = value;
    } else if (arg == "--constellations") {
      options.constellations = value;
    } else if (arg == "--out") {
      options.out_dir = value;
    } else if (arg == "--year") {
      int year = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), year);
      if (ec != std::errc() || end != value.data() + value.size()) return Usage("--year wants a year, not '" + value + "'");
      year_text = value;
      options.period.first_year = year;
    } else {
      int n = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
      if (ec != std::errc() || end != value.data() + value.size() || n < 1 || n > 64)
        return Usage("--threads wants a number from 1 to 64, not '" + value + "'");
      options.threads = n;
    }
  }

  try {
    if (!year_text.empty()) {
      const vk::ephemgen::De405Extract eph = vk::ephemgen::De405Extract::Load(options.extract);
      const vk::tDataSpan span = vk::SpanOfRecords(eph.first_mjd(), eph.last_mjd());
      const double day = vk::CalendarToJD(options.period.first_year, 1, 1, 0, 0, 0);
      if (!span.holds(day)) return Usage("--year " + year_text + " is outside " + span.text());
      options.period = vk::PeriodOfDay(day, span);
    }
    auto progress = [&](std::string_view text) {
      if (!quiet) std::cerr << "ephemgen: " << text << "\n";
    };
    const auto summary = vk::ephemgen::WriteExports(options, progress);
    progress("Done: 9 " + std::string(options.kind == vk::ephemgen::ExportKind::Binary ? "tables" : "exports") +
             " of " + options.period.tag() + " and the phase table in " + vk::FormatFixed(summary.seconds, 2) + " s with " +
             std::to_string(summary.threads) + " threads.");
    return 0;
  } catch (const vk::Error& e) {
    std::cerr << "ephemgen: " << e.describe() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "ephemgen: " << e.what() << "\n";
  }
  return 1;
}
