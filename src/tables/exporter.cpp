#include "tables/exporter.h"

#include <erfa.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <chrono>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "apparent_place.h"
#include "constellations.h"
#include "tables/de405_extract.h"
#include "base/atomic_file.h"
#include "base/parallel_for.h"
#include "ephemeris/ephemeris_data.h"
#include "ephemeris/horizons_import.h"
#include "export_line.h"
#include "tables/phase_table.h"
#include "base/error.h"
#include "timecalc/time_scales.h"

namespace vk::ephemgen {
namespace {

constexpr int kChunkHours = 1024;       // hours per task
constexpr double kMaxLightTimeDays = 0.25;  // Neptune's light time is under 4.3 h

tRowTime RowTime(double first_jd, int row) {
  tRowTime t;
  const int day = row / 24;
  t.hour = row % 24;
  double fd = 0;
  eraJd2cal(first_jd + day, 0, &t.year, &t.month, &t.day, &fd);
  t.jd = (first_jd + day) + t.hour / 24.0;
  return t;
}

// "row 2022-01-01 05:00 UT", for messages.
std::string RowText(double first_jd, int row) {
  return "row " + FormatJulianInstant(first_jd + row / 24, (row % 24) / 24.0).substr(0, 16) + " UT";
}

// Fails early, before any costly work, when the extract lacks an instant that
// a row or a day of the phase table needs (TDB taken as TT here; the exact
// pass checks again).
void CheckCoverage(const De405Extract& eph, double first_jd, int rows, int phase_days) {
  // index < rows: a row; otherwise day index − rows of the phase table.
  auto what = [&](int index) {
    if (index < rows) return RowText(first_jd, index);
    return "12:00 UT of " + FormatJulianInstant(first_jd + (index - rows), 0).substr(0, 10) +
           " (phase table)";
  };
  for (int index = 0; index < rows + phase_days; ++index) {
    const double utc1 = index < rows ? first_jd + index / 24 : first_jd + (index - rows);
    const double utc2 = index < rows ? (index % 24) / 24.0 : 0.5;
    for (const double back : {0.0, kMaxLightTimeDays}) {
      try {
        eph.State(De405Item::Sun, utc1, utc2 + TtMinusUtcSeconds(utc1 + utc2) / 86400 - back);
      } catch (const Error& e) {
        throw Error(what(index) + (back > 0 ? " (6 h earlier for the light time)" : "") + ": " + e.what(),
                    e.file());
      }
    }
  }
}

// The bytes the import makes of a body's export line: its own conversion of the text.
tEphemerisData BinaryRecord(std::string& line, const tRowTime& time, int body, const tApparentPlace& place) {
  line.clear();
  AppendExportLine(line, time, body, place);
  tEphemerisData rec;
  std::memset(&rec, 0, sizeof rec);
  ConvertExportLine(std::string_view(line).substr(0, line.size() - 2), rec);  // without CR LF
  return rec;
}

}  // namespace

std::vector<tEphemerisData> HourRecords(const tExportOptions& options, int first_hour, int end_hour) {
  const std::pair<int, int> hours[] = {{first_hour, end_hour}};
  return HourRecords(options, hours);
}

std::vector<tEphemerisData> HourRecords(const tExportOptions& options, std::span<const std::pair<int, int>> ranges) {
  // The coefficient records of the hours alone, a day more on either side
  // for the light time.
  std::vector<std::pair<double, double>> spans;
  for (const auto& [first_hour, end_hour] : ranges)
    if (end_hour > first_hour)
      spans.emplace_back(options.period.first_jd() - 2400000.5 + first_hour / 24.0 - 1,
                         options.period.first_jd() - 2400000.5 + end_hour / 24.0 + 1);
  if (spans.empty()) return {};
  const De405Extract eph = De405Extract::LoadSpans(options.extract, spans);
  const ConstellationTable constellations = ConstellationTable::Load(options.constellations);
  std::vector<tEphemerisData> records;
  std::string line;
  for (const auto& [first_hour, end_hour] : ranges) {
    const int count = std::max(0, end_hour - first_hour);
    if (count == 0) continue;
    // Counted from the 0h of the first hour's day, so that RowTime's hours are never negative.
    const int first_day = FloorDiv(first_hour, 24);
    const double day_jd = options.period.first_jd() + first_day;
    const int from = first_hour - 24 * first_day;
    const std::size_t at = records.size();
    records.resize(at + static_cast<std::size_t>(count) * kBodyCount);
    const TimeTermNodes nodes(day_jd, from, from + count, options.interpolate_time_terms);
    for (int i = 0; i < count; ++i) {
      const int hour = from + i;
      const tRowTime time = RowTime(day_jd, hour);
      const tHourFrame frame = MakeHourFrame(eph, day_jd + hour / 24, (hour % 24) / 24.0, nodes.at(hour));
      for (int body = 0; body < kBodyCount; ++body)
        records[at + static_cast<std::size_t>(body) * static_cast<std::size_t>(count) + static_cast<std::size_t>(i)] =
            BinaryRecord(line, time, body, ApparentPlace(eph, constellations, frame, body));
    }
  }
  return records;
}

tExportSummary WriteExports(const tExportOptions& options, const std::function<void(std::string_view)>& progress) {
  const auto start = std::chrono::steady_clock::now();
  auto report = [&](std::string_view text) {
    if (progress) progress(text);
  };
  tExportSummary summary;
  summary.threads = options.threads > 0 ? options.threads : static_cast<int>(DefaultThreadCount());
  const tPeriod& period = options.period;
  const double first_jd = period.first_jd();
  const bool binary = options.kind == ExportKind::Binary;

  const int rows = options.rows > 0 ? std::min(options.rows, period.rows()) : period.rows();
  const int phase_days = options.phase_days > 0 ? std::min(options.phase_days, period.phase_days()) : period.phase_days();

  const De405Extract eph = De405Extract::Load(options.extract);
  const ConstellationTable constellations = ConstellationTable::Load(options.constellations);
  CheckCoverage(eph, first_jd, rows, phase_days);

  // The share done: each row counts one part for its frame and two for each body, each day of the phase table one.
  std::atomic<long long> done{0};
  std::mutex fraction_mutex;
  const long long total = static_cast<long long>(rows) * (1 + 2 * kBodyCount) + phase_days;
  auto advance = [&](long long units) {
    const long long before = done.fetch_add(units);
    if (!options.fraction) return;
    // About two hundred reports in all.
    const long long step = std::max(1LL, total / 200);
    if ((before + units) / step == before / step) return;
    std::lock_guard lock(fraction_mutex);
    options.fraction(static_cast<double>(before + units) / static_cast<double>(total));
  };
  auto check_stop = [&] {
    if (options.stop.stop_requested()) throw Cancelled{};
  };

  // The output folder before any costly work: one that cannot be made fails at once.
  const std::filesystem::path folder = binary ? options.out_dir : options.out_dir / "_res";
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) throw Error(made.message(), folder.string());

  // The hours in chunks, each chunk's rows of every body and its days of the
  // phase table made by one task; the chunks' bytes are written in order
  // as they are complete.
  report(binary ? "Writing the nine tables and the phase table..." : "Writing the nine exports and the phase table...");
  std::vector<std::unique_ptr<AtomicFile>> files;
  for (int body = 0; body < kBodyCount; ++body)
    files.push_back(std::make_unique<AtomicFile>(options.out_dir /
                                                 (binary ? BinaryFileName(body, period) : ExportFileName(body, period))));
  files.push_back(std::make_unique<AtomicFile>(options.out_dir / PhaseFileName(period)));

  // Hours 0 … hours − 1 hold the rows and the noons of the phase table's days.
  const int hours = std::max(rows, 24 * (phase_days - 1) + 13);
  const int chunks = (hours + kChunkHours - 1) / kChunkHours;
  std::mutex write_mutex;
  std::vector<std::vector<std::string>> finished(static_cast<std::size_t>(chunks));
  int next_to_write = 0;  // the first chunk not yet written

  ParallelFor(chunks, static_cast<unsigned>(summary.threads), [&](int chunk) {
    const int first = chunk * kChunkHours, end = std::min(first + kChunkHours, hours);
    const TimeTermNodes nodes(first_jd, first, end, options.interpolate_time_terms);
    std::vector<std::string> bytes(kBodyCount + 1);
    std::string line;
    tApparentPlace places[kBodyCount];
    long long units = 0;
    for (int hour = first; hour < end; ++hour) {
      const bool row = hour < rows;
      const int day = hour / 24;
      const bool noon = hour % 24 == 12 && day < phase_days;
      if (!row && !noon) continue;
      if ((hour & 255) == 0) check_stop();
      tHourFrame frame;
      try {
        frame = MakeHourFrame(eph, first_jd + day, (hour % 24) / 24.0, nodes.at(hour));
      } catch (const Error& e) {
        throw Error((row ? RowText(first_jd, hour) : "12:00 UT of day " + std::to_string(day + 1) + " of the phase table") +
                        ": " + e.what(),
                    e.file());
      }
      if (row) {
        const tRowTime time = RowTime(first_jd, hour);
        for (int body = 0; body < kBodyCount; ++body) {
          std::string& out = bytes[static_cast<std::size_t>(body)];
          try {
            places[body] = ApparentPlace(eph, constellations, frame, body);
            if (binary) {
              const tEphemerisData rec = BinaryRecord(line, time, body, places[body]);
              out.append(reinterpret_cast<const char*>(&rec), sizeof rec);
            } else {
              AppendExportLine(out, time, body, places[body]);
            }
          } catch (const Error& e) {
            throw Error(RowText(first_jd, hour) + " of " + std::string(BodyCodes[body]) + ": " + e.what(), e.file());
          }
        }
        units += 1 + 2 * kBodyCount;
      }
      if (noon) {
        for (const int body : {int{Moon}, int{Mercury}, int{Venus}})
          if (!row) places[body] = ApparentPlace(eph, constellations, frame, body);
        const double sun = frame.sun_ecl_lon_deg;
        bytes[kBodyCount] += PhaseFileLine(
            first_jd + day, MoonPhaseIndex(places[Moon].ecl_lon_deg, sun),
            InnerPlanetPhaseIndex(places[Mercury].phase_angle_deg, places[Mercury].ecl_lon_deg, sun),
            1 + InnerPlanetPhaseIndex(places[Venus].phase_angle_deg, places[Venus].ecl_lon_deg, sun));
        units += 1;
      }
    }
    {
      std::lock_guard lock(write_mutex);
      finished[static_cast<std::size_t>(chunk)] = std::move(bytes);
      for (; next_to_write < chunks && !finished[static_cast<std::size_t>(next_to_write)].empty(); ++next_to_write) {
        std::vector<std::string>& ready = finished[static_cast<std::size_t>(next_to_write)];
        for (std::size_t f = 0; f < files.size(); ++f) files[f]->write(ready[f]);
        ready = {};
      }
    }
    advance(units);
  }, options.stop);
  check_stop();

  // Only now, with all ten complete, do they replace the old files.
  for (auto& file : files) file->commit();
  summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return summary;
}

}  // namespace vk::ephemgen
