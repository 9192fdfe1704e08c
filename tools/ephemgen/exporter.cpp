#include "exporter.h"

#include <erfa.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "apparent_place.h"
#include "constellations.h"
#include "de405_extract.h"
#include "base/atomic_file.h"
#include "base/parallel_for.h"
#include "ephemeris/ephemeris_data.h"
#include "ephemeris/horizons_import.h"
#include "export_line.h"
#include "phase_table.h"
#include "base/error.h"
#include "timecalc/time_scales.h"

namespace vk::ephemgen {
namespace {

constexpr int kFrameChunk = 1024;       // hours per task of the frame pass
constexpr int kRowsPerWrite = 4096;     // rows buffered before a write
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

}  // namespace

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

  // The share done: the frames count one part, each body's rows two.
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

  // First the frames of all hours and of the phase table's noons.
  report("Computing time scales and precession-nutation...");
  std::vector<tHourFrame> frames(rows);
  std::vector<tHourFrame> noons(phase_days);
  const int row_tasks = (rows + kFrameChunk - 1) / kFrameChunk;
  const int noon_tasks = (phase_days + kFrameChunk - 1) / kFrameChunk;
  ParallelFor(row_tasks + noon_tasks, static_cast<unsigned>(summary.threads), [&](int task) {
    const bool noon = task >= row_tasks;
    const int first = (noon ? task - row_tasks : task) * kFrameChunk;
    const int end = std::min(first + kFrameChunk, noon ? phase_days : rows);
    for (int i = first; i < end; ++i) {
      try {
        if (noon) {
          // A noon that is also a row (all but the last day) takes the row's frame below.
          if (24 * i + 12 >= rows) noons[i] = MakeHourFrame(eph, first_jd + i, 0.5);
        } else {
          frames[i] = MakeHourFrame(eph, first_jd + i / 24, (i % 24) / 24.0);
        }
      } catch (const Error& e) {
        throw Error((noon ? "12:00 UT of day " + std::to_string(i + 1) + " of the phase table" : RowText(first_jd, i)) +
                        ": " + e.what(),
                    e.file());
      }
    }
    if (!noon) advance(end - first);
  }, options.stop);
  check_stop();

  for (int day = 0; day < phase_days && 24 * day + 12 < rows; ++day) noons[day] = frames[24 * day + 12];

  // Then one task per body writes its export or table; the tenth writes the phase table.
  report(binary ? "Writing the nine tables and the phase table..." : "Writing the nine exports and the phase table...");
  std::vector<std::unique_ptr<AtomicFile>> files(kBodyCount + 1);
  std::vector<tRowTime> times(rows);
  for (int row = 0; row < rows; ++row) times[row] = RowTime(first_jd, row);

  ParallelFor(kBodyCount + 1, static_cast<unsigned>(summary.threads), [&](int task) {
    if (task < kBodyCount) {
      const int body = task;
      auto file = std::make_unique<AtomicFile>(options.out_dir /
                                               (binary ? BinaryFileName(body, period) : ExportFileName(body, period)));
      std::string text;
      std::string line;
      std::vector<tEphemerisData> records;
      long long pending = 0;  // rows since the last report
      records.reserve(kRowsPerWrite);
      text.reserve(kRowsPerWrite * 260);
      auto flush = [&] {
        if (binary) {
          file->write(records.data(), records.size() * sizeof(tEphemerisData));
          records.clear();
        } else {
          file->write(text);
          text.clear();
        }
      };
      for (int row = 0; row < rows; ++row) {
        try {
          const tApparentPlace place = ApparentPlace(eph, constellations, frames[row], body);
          if (binary) {
            // The import's own conversion of the line gives the bytes the text would give.
            line.clear();
            AppendExportLine(line, times[row], body, place);
            tEphemerisData& rec = records.emplace_back();
            std::memset(&rec, 0, sizeof rec);
            ConvertExportLine(std::string_view(line).substr(0, line.size() - 2), rec);  // without CR LF
          } else {
            AppendExportLine(text, times[row], body, place);
          }
        } catch (const Error& e) {
          throw Error(RowText(first_jd, row) + " of " + std::string(BodyCodes[body]) + ": " + e.what(), e.file());
        }
        ++pending;
        if (records.size() == kRowsPerWrite || text.size() > (kRowsPerWrite - 1) * 260) {
          check_stop();
          flush();
          advance(2 * pending);
          pending = 0;
        }
      }
      flush();
      advance(2 * pending);
      files[body] = std::move(file);
    } else {
      auto file = std::make_unique<AtomicFile>(options.out_dir / PhaseFileName(period));
      std::string text;
      for (int day = 0; day < phase_days; ++day) {
        const tHourFrame& f = noons[day];
        const double sun = f.sun_ecl_lon_deg;
        const tApparentPlace moon = ApparentPlace(eph, constellations, f, Moon);
        const tApparentPlace mercury = ApparentPlace(eph, constellations, f, Mercury);
        const tApparentPlace venus = ApparentPlace(eph, constellations, f, Venus);
        text += PhaseFileLine(first_jd + day, MoonPhaseIndex(moon.ecl_lon_deg, sun),
                              InnerPlanetPhaseIndex(mercury.phase_angle_deg, mercury.ecl_lon_deg, sun),
                              1 + InnerPlanetPhaseIndex(venus.phase_angle_deg, venus.ecl_lon_deg, sun));
      }
      file->write(text);
      files[kBodyCount] = std::move(file);
      advance(phase_days);
    }
  }, options.stop);
  check_stop();

  // Only now, with all ten complete, do they replace the old files.
  for (auto& file : files) file->commit();
  summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return summary;
}

}  // namespace vk::ephemgen
