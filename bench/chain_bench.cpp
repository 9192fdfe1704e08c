// The recomputation chain on the shipped data, stage by stage, with classic and
// with precise instants: loading, the site-independent preparation, the
// recomputation after a site change; median of 5 runs each with a warm page
// cache, the extra time of the precise instants, and the peak resident memory.
// The site change is the chain as the window runs it (the events taken into
// the table, then the log written from it); its stages are then timed one
// after another.
// Run: build/bin/vk_bench_chain [--dir DIR] [--lat DEG --lon DEG --zone N] [--threads N] [--fotolicht 1]
// (--fotolicht 1: with the golden and blue hours, as while the window shows them)
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "timecalc/time_zones.h"
#include "base/atomic_file.h"
#include "base/parallel_for.h"
#include "compute.h"
#include "event_passes.h"
#include "headline_lines.h"
#include "period_margins.h"
#include "events/recompute.h"
#include "tables/period_tables.h"
#include "base/error.h"
#include "bench_stats.h"
#include "timecalc/input_checks.h"

namespace {

using vk::bench::CpuMs;
using vk::bench::Median;

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path dir = VK_DATA_DIR;
  static vk::Almanac a;
  unsigned threads = 0;
  int zone = vk::kDefaultZone;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string opt = argv[i];
    if (opt == "--dir") dir = argv[i + 1];
    else if (opt == "--lat") a.site.Site_nLat = vk::ParseFloat(argv[i + 1]);
    else if (opt == "--lon") a.site.Site_eLon = vk::ParseFloat(argv[i + 1]);
    else if (opt == "--zone") zone = static_cast<int>(vk::ParseInteger(argv[i + 1]));
    else if (opt == "--threads") threads = static_cast<unsigned>(vk::ParseInteger(argv[i + 1]));
    else if (opt == "--fotolicht") a.photo_light = vk::ParseInteger(argv[i + 1]) != 0;
  }
  a.site.Site_TZ_Hours = vk::TimeZones.at(static_cast<std::size_t>(zone)).offset_hours;
  // The hours around the period, as the window and the tool take them.
  a.hour_rows = vk::ephemgen::HourRowsOfFolder(dir);
  // Stage times of each mode; the runs alternate between the modes, so that a
  // change of the machine's load meets both alike. Each site change moves
  // the latitude by a step, as the window's button does.
  struct Stages {
    std::vector<double> load, prepare, whole, site, site_cpu, site_log, values, passes, headlines, global, write, fill,
        read, phase, margins_made, margins_events;
  } stages[2];
  const vk::Interpolation modes[2] = {vk::Interpolation::Classic, vk::Interpolation::Precise};
  const double lat0 = a.site.Site_nLat;
  const double lat1 = std::clamp(lat0 + 0.5, -90.0, 90.0);
  const std::filesystem::path log = dir / vk::kEventLogName;
  try {
    for (int run = 0; run < 6; ++run) {  // run 0 warms the page cache and is not counted
      for (int m = 0; m < 2; ++m) {
        a.interpolation = modes[m];
        a.site.Site_nLat = lat0;
        const auto t0 = Clock::now();
        vk::LoadEphemeris(a.ephemeris, dir);
        const auto t1 = Clock::now();
        vk::LoadAndPrepare(a.ephemeris, *a.basic, dir, threads);  // loads again inside
        const auto t2 = Clock::now();
        a.prepared.reset();  // the whole chain: files loaded and prepared again
        vk::RunRecomputationChain(a, dir, nullptr);
        const auto t3 = Clock::now();
        a.site.Site_nLat = lat1;
        // A site change as the window runs it: the events computed and taken
        // into the table, which the chart is drawn from, then the log written.
        const double cpu1 = CpuMs();
        vk::ComputeSiteEvents(a, a.site, a.interpolation, dir, nullptr);
        vk::TakeSiteEvents(a, a.site, a.interpolation, log);
        const double cpu2 = CpuMs();
        const auto t3b = Clock::now();
        vk::WriteSiteLog(a, log);
        const auto t4 = Clock::now();
        // The chain's stages one after another: the site's basic values, the
        // passes of the nine bodies with the lines' records, the log written, the
        // table filled from the records, the log file read back and sorted,
        // the phase table.
        const vk::ObserverConstants obs = vk::ComputeObserverConstants(a.site.Site_nLat);
        for (int b = 0; b < vk::kBodyCount; ++b)
          vk::ParallelFor(8, threads, [&](int k) {
            vk::ComputeSiteValues(a.ephemeris, a.site, obs, b, *a.basic, 1 + k * vk::kEphemerisRows / 8,
                                  (k + 1) * vk::kEphemerisRows / 8, modes[m], a.photo_light);
          });
        const auto t5 = Clock::now();
        std::vector<vk::LogText> lines(vk::kBodyCount);
        std::vector<vk::LineRecords> records(vk::kBodyCount);
        vk::ParallelFor(vk::kBodyCount, threads, [&](int b) {
          vk::RunEventPasses(a.ephemeris, *a.basic, a.site, obs, b, lines[b], modes[m], &records[b]);
        });
        if (a.photo_light) {
          lines.emplace_back();
          records.emplace_back();
          vk::RunLightPasses(a.ephemeris, *a.basic, a.site, obs, lines.back(), modes[m], &records.back());
        }
        const auto t6 = Clock::now();
        // The site's eclipses and occultations with their lines, then the
        // period's lunar eclipses and close approaches (once per loading).
        const std::vector<double> syzygies = vk::SyzygyInstants(a.ephemeris, *a.basic);
        const vk::SiteHeadlines seen = vk::FindSiteHeadlines(a.ephemeris, syzygies, *a.global_headlines, a.site);
        lines.emplace_back();
        records.emplace_back();
        vk::AppendHeadlineLines(lines.back(), &records.back(), *a.global_headlines, seen, a.site);
        const auto t6b = Clock::now();
        const vk::GlobalHeadlines global = vk::FindGlobalHeadlines(a.ephemeris, syzygies);
        const auto t6c = Clock::now();
        vk::WriteEventLog(lines, log);
        const auto t7 = Clock::now();
        if (!vk::ReadSortedEventRecords(a.events, lines, records)) throw vk::Error("records refused", log.string());
        const auto t7b = Clock::now();
        vk::ReadSortedEventLog(a.events, log);
        const auto t8 = Clock::now();
        vk::ReadPhaseTable(a.phases, dir / vk::kPhaseFileName);
        const auto t9 = Clock::now();
        // The hours around the period: made once per loading, their events at
        // every site (beside the period's own lines, computed again first).
        vk::ComputeEventLines(a.ephemeris, *a.basic, a.site, nullptr, threads, modes[m], a.lines, {}, {},
                              a.photo_light);
        const auto t9b = Clock::now();
        if (a.hour_rows) a.margins->Load(a.ephemeris.period(), a.hour_rows);
        const auto t10 = Clock::now();
        a.margins->AppendEvents(a.ephemeris, a.site, modes[m], a.photo_light,
                                std::span<const vk::LogText>(a.lines.pieces).first(std::size_t{vk::kMarginPiece}),
                                std::span<const vk::LineRecords>(a.lines.records).first(std::size_t{vk::kMarginPiece}),
                                a.lines.pieces[std::size_t{vk::kMarginPiece}],
                                a.lines.records[std::size_t{vk::kMarginPiece}]);
        const auto t11 = Clock::now();
        if (run == 0) continue;
        Stages& s = stages[m];
        s.load.push_back(Ms(t0, t1));
        s.prepare.push_back(Ms(t1, t2) - Ms(t0, t1));
        s.whole.push_back(Ms(t2, t3));
        s.site.push_back(Ms(t3, t3b));
        s.site_log.push_back(Ms(t3b, t4));
        s.site_cpu.push_back(cpu2 - cpu1);
        s.values.push_back(Ms(t4, t5));
        s.passes.push_back(Ms(t5, t6));
        s.headlines.push_back(Ms(t6, t6b));
        s.global.push_back(Ms(t6b, t6c));
        s.write.push_back(Ms(t6c, t7));
        s.fill.push_back(Ms(t7, t7b));
        s.read.push_back(Ms(t7b, t8));
        s.phase.push_back(Ms(t8, t9));
        s.margins_made.push_back(Ms(t9b, t10));
        s.margins_events.push_back(Ms(t10, t11));
      }
    }
  } catch (const vk::Error& e) {
    std::fprintf(stderr, "vk_bench_chain: %s\n", e.describe().c_str());
    return 1;
  }
  for (int m = 0; m < 2; ++m) {
    const Stages& s = stages[m];
    std::printf("recomputation chain, %s instants, %d events, median of 5 runs (ms):\n",
                m == 1 ? "precise" : "classic", a.events.Event_Count);
    std::printf("  whole chain from nothing         %8.1f   (files loaded, prepared, the site's events)\n",
                Median(s.whole));
    std::printf("    LoadEphemeris                  %8.1f\n", Median(s.load));
    std::printf("    site-independent preparation   %8.1f\n", Median(s.prepare));
    std::printf("  recomputation per site change    %8.1f   (to the table in force; CPU time of all threads %.1f)\n",
                Median(s.site), Median(s.site_cpu));
    std::printf("    then its log written           %8.1f\n", Median(s.site_log));
    std::printf("  its stages one after another:\n");
    std::printf("    site values                    %8.1f\n", Median(s.values));
    std::printf("    event passes                   %8.1f\n", Median(s.passes));
    std::printf("    eclipses and occultations      %8.1f   (the site's, with their lines)\n", Median(s.headlines));
    std::printf("    (lunar eclipses, approaches    %8.1f   once per loading)\n", Median(s.global));
    std::printf("    log written                    %8.1f\n", Median(s.write));
    std::printf("    table filled from the records  %8.1f   (sorted, as the chain fills it)\n", Median(s.fill));
    std::printf("    (log file read back and sorted %8.1f   as a log from elsewhere is read)\n", Median(s.read));
    std::printf("    (phase table read              %8.1f   when its file is another than last time)\n", Median(s.phase));
    std::printf("    (hours around the period made  %8.1f   once per loading)\n", Median(s.margins_made));
    std::printf("    their events for the site      %8.1f\n", Median(s.margins_events));
  }
  std::printf("precise minus classic      %8.1f ms (medians per site change)\n",
              Median(stages[1].site) - Median(stages[0].site));
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("peak resident memory       %8.1f MB\n", ru.ru_maxrss / 1024.0);
  return 0;
}
