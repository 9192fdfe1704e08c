// The recomputation chain on the shipped data, stage by stage, with classic and
// with precise instants: loading, the site-independent preparation, the
// recomputation after a site change; median of 5 runs each with a warm page
// cache, the extra time of the precise instants, and the peak resident memory.
// Run: build/bin/vk_bench_chain [--dir DIR] [--lat DEG --lon DEG --zone N] [--threads N]
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
#include "events/compute.h"
#include "events/recompute.h"
#include "base/error.h"
#include "timecalc/numtext.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// CPU time of the process (every thread), milliseconds.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

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
  }
  a.site.Site_TZ_Hours = vk::TimeZones.at(static_cast<std::size_t>(zone)).offset_hours;
  // Stage times of each mode; the runs alternate between the modes, so that a
  // change of the machine's load meets both alike. Each run changes the
  // latitude by a step, as the window's button does.
  struct Stages {
    std::vector<double> load, prepare, compute, compute_cpu, read, sort, phase, total, site, site_cpu;
  } stages[2];
  const vk::Interpolation modes[2] = {vk::Interpolation::Classic, vk::Interpolation::Precise};
  const double lat0 = a.site.Site_nLat;
  try {
    for (int run = 0; run < 6; ++run) {  // run 0 warms the page cache and is not counted
      for (int m = 0; m < 2; ++m) {
        a.site.Site_nLat = std::clamp(lat0 + (run % 2 ? 0.5 : 0.0), -90.0, 90.0);
        const auto t0 = Clock::now();
        vk::LoadEphemeris(a.ephemeris, dir);
        const auto t1 = Clock::now();
        vk::LoadAndPrepare(a.ephemeris, a.basic, dir, threads);  // loads again inside
        const auto t2 = Clock::now();
        const double cpu1 = CpuMs();
        vk::ComputeEventLog(a.ephemeris, a.basic, a.site, dir / vk::kEventLogName, nullptr, threads, modes[m]);
        const double cpu2 = CpuMs();
        const auto t3 = Clock::now();
        vk::ReadEventLog(a.events, dir / vk::kEventLogName);
        const auto t4 = Clock::now();
        vk::SortEventTable(a.events);
        const auto t5 = Clock::now();
        vk::ReadPhaseTable(a.phases, dir / vk::kPhaseFileName);
        const auto t6 = Clock::now();
        const double cpu3 = CpuMs();
        if (run == 0) continue;
        Stages& s = stages[m];
        s.load.push_back(Ms(t0, t1));
        s.prepare.push_back(Ms(t1, t2) - Ms(t0, t1));
        s.compute.push_back(Ms(t2, t3));
        s.compute_cpu.push_back(cpu2 - cpu1);
        s.read.push_back(Ms(t3, t4));
        s.sort.push_back(Ms(t4, t5));
        s.phase.push_back(Ms(t5, t6));
        s.site.push_back(Ms(t2, t6));
        s.site_cpu.push_back(cpu3 - cpu1);
        s.total.push_back(Ms(t1, t6));
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
    std::printf("  LoadEphemeris                    %8.1f\n", Median(s.load));
    std::printf("  site-independent preparation     %8.1f\n", Median(s.prepare));
    std::printf("  ComputeEventLog (site values,    %8.1f   (CPU time of all threads %.1f)\n"
                "    passes, log written)\n", Median(s.compute), Median(s.compute_cpu));
    std::printf("  ReadEventLog                     %8.1f\n", Median(s.read));
    std::printf("  SortEventTable                   %8.1f\n", Median(s.sort));
    std::printf("  ReadPhaseTable                   %8.1f\n", Median(s.phase));
    std::printf("  recomputation per site change    %8.1f   (CPU time %.1f)\n", Median(s.site), Median(s.site_cpu));
    std::printf("  whole chain from loading         %8.1f\n", Median(s.total));
  }
  std::printf("precise minus classic      %8.1f ms (medians per site change), %.1f ms (of ComputeEventLog),\n"
              "                           %8.1f ms CPU time of ComputeEventLog\n",
              Median(stages[1].site) - Median(stages[0].site), Median(stages[1].compute) - Median(stages[0].compute),
              Median(stages[1].compute_cpu) - Median(stages[0].compute_cpu));
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("peak resident memory       %8.1f MB\n", ru.ru_maxrss / 1024.0);
  return 0;
}
