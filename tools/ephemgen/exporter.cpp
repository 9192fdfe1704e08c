#include "exporter.h"

#include <erfa.h>

#include <algorithm>
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
#include "export_line.h"
#include "phase_table.h"
#include "base/error.h"

namespace vk::ephemgen {
namespace {

constexpr int kFrameChunk = 1024;       // hours per task of the frame pass
constexpr int kRowsPerWrite = 4096;     // rows buffered before a write
constexpr double kMaxLightTimeDays = 0.25;  // Neptune's light time is under 4.3 h

tRowTime RowTime(int row) {
  tRowTime t;
  const int day = row / 24;
  t.hour = row % 24;
  double fd = 0;
  eraJd2cal(kFirstRowJd + day, 0, &t.year, &t.month, &t.day, &fd);
  t.jd = (kFirstRowJd + day) + t.hour / 24.0;
  return t;
}

// "row 2022-01-01 05:00 UT", for messages.
std::string RowText(int row) {
  return "row " + FormatJulianInstant(kFirstRowJd + row / 24, (row % 24) / 24.0).substr(0, 16) + " UT";
}

// Fails early, before any costly work, when the extract lacks an instant that
// a row or a day of the phase table needs (TDB taken as UTC + 69.184 s here;
// the exact pass checks again).
void CheckCoverage(const De405Extract& eph, int rows, int phase_days) {
  constexpr double kTtMinusUtc = 69.184 / 86400;
  // index < rows: a row; otherwise day index − rows of the phase table.
  auto what = [&](int index) {
    if (index < rows) return RowText(index);
    return "12:00 UT of " + FormatJulianInstant(kPhaseFirstDayJd + (index - rows), 0).substr(0, 10) +
           " (phase table)";
  };
  for (int index = 0; index < rows + phase_days; ++index) {
    const double utc1 = index < rows ? kFirstRowJd + index / 24 : kPhaseFirstDayJd + (index - rows);
    const double utc2 = index < rows ? (index % 24) / 24.0 : 0.5;
    for (const double back : {0.0, kMaxLightTimeDays}) {
      try {
        eph.State(De405Item::Sun, utc1, utc2 + kTtMinusUtc - back);
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

  const int rows = std::clamp(options.rows, 1, kExportRows);
  const int phase_days = std::clamp(options.phase_days, 1, kPhaseDays);

  const De405Extract eph = De405Extract::Load(options.extract);
  const ConstellationTable constellations = ConstellationTable::Load(options.constellations);
  CheckCoverage(eph, rows, phase_days);

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
          if (24 * i + 12 >= rows) noons[i] = MakeHourFrame(eph, kPhaseFirstDayJd + i, 0.5);
        } else {
          frames[i] = MakeHourFrame(eph, kFirstRowJd + i / 24, (i % 24) / 24.0);
        }
      } catch (const Error& e) {
        throw Error((noon ? "12:00 UT of day " + std::to_string(i + 1) + " of the phase table" : RowText(i)) +
                        ": " + e.what(),
                    e.file());
      }
    }
  });

  for (int day = 0; day < phase_days && 24 * day + 12 < rows; ++day) noons[day] = frames[24 * day + 12];

  // Then one task per body writes its export; the tenth writes the phase table.
  report("Writing the nine exports and the phase table...");
  std::filesystem::create_directories(options.out_dir / "_res");
  std::vector<std::unique_ptr<AtomicFile>> files(kBodyCount + 1);
  std::vector<tRowTime> times(rows);
  for (int row = 0; row < rows; ++row) times[row] = RowTime(row);

  ParallelFor(kBodyCount + 1, static_cast<unsigned>(summary.threads), [&](int task) {
    if (task < kBodyCount) {
      const int body = task;
      auto file = std::make_unique<AtomicFile>(options.out_dir / ExportFileName(body));
      std::string text;
      text.reserve(kRowsPerWrite * 260);
      for (int row = 0; row < rows; ++row) {
        try {
          AppendExportLine(text, times[row], body, ApparentPlace(eph, constellations, frames[row], body));
        } catch (const Error& e) {
          throw Error(RowText(row) + " of " + std::string(BodyCodes[body]) + ": " + e.what(), e.file());
        }
        if (text.size() > (kRowsPerWrite - 1) * 260) {
          file->write(text);
          text.clear();
        }
      }
      file->write(text);
      files[body] = std::move(file);
    } else {
      auto file = std::make_unique<AtomicFile>(options.out_dir / std::string(kPhaseFileName));
      std::string text;
      for (int day = 0; day < phase_days; ++day) {
        const tHourFrame& f = noons[day];
        const double sun = f.sun_ecl_lon_deg;
        const tApparentPlace moon = ApparentPlace(eph, constellations, f, Moon);
        const tApparentPlace mercury = ApparentPlace(eph, constellations, f, Mercury);
        const tApparentPlace venus = ApparentPlace(eph, constellations, f, Venus);
        text += PhaseFileLine(kPhaseFirstDayJd + day, MoonPhaseIndex(moon.ecl_lon_deg, sun),
                              InnerPlanetPhaseIndex(mercury.phase_angle_deg, mercury.ecl_lon_deg, sun),
                              1 + InnerPlanetPhaseIndex(venus.phase_angle_deg, venus.ecl_lon_deg, sun));
      }
      file->write(text);
      files[kBodyCount] = std::move(file);
    }
  });

  // Only now, with all ten complete, do they replace the old files.
  for (auto& file : files) file->commit();
  summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return summary;
}

}  // namespace vk::ephemgen
