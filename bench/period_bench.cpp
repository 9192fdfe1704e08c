// Periods of the century: making a period's tables from the coefficients
// (binary directly, every core), and moving into a period already made (its
// tables loaded and prepared, the site's events computed and taken: what the
// window does before it draws). Median of 5 runs each, with the process's CPU
// time of each; the peak resident memory.
// Run: build/bin/vk_bench_period [--dir DATA_DIR]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "events/recompute.h"
#include "tables/exporter.h"
#include "tables/period_tables.h"
#include "support/temp_dir.h"
#include "bench_stats.h"

namespace {

using vk::bench::CpuMs;
using vk::bench::Median;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data = VK_DATA_DIR;
  if (argc == 3 && std::string(argv[1]) == "--dir") data = argv[2];
  const vk::tPeriod sixties{1962, 1972}, forties{2042, 2052};
  vk::test::TempDir cache;

  std::vector<double> making, making_cpu;
  for (int run = 0; run < 5; ++run) {
    vk::test::TempDir out;
    vk::ephemgen::tExportOptions o;
    o.extract = data / vk::kCoefficientFileName;
    o.constellations = data / vk::kConstellationFileName;
    o.out_dir = out.path();
    o.period = sixties;
    o.kind = vk::ephemgen::ExportKind::Binary;
    o.interpolate_time_terms = true;  // as a period is made on demand
    const double c0 = CpuMs();
    const auto t0 = Clock::now();
    vk::ephemgen::WriteExports(o);
    making.push_back(Seconds(t0, Clock::now()));
    making_cpu.push_back((CpuMs() - c0) / 1000);
  }
  std::printf("making the tables of %s (binary, every core): median %.2f s of 5 (%.2f … %.2f), CPU %.2f s\n",
              sixties.tag().c_str(), Median(making), *std::min_element(making.begin(), making.end()),
              *std::max_element(making.begin(), making.end()), Median(making_cpu));

  // Two made periods; each run moves into the other one.
  for (const vk::tPeriod& p : {sixties, forties}) vk::ephemgen::PeriodTablesDir(data, cache.path(), p);
  static vk::Almanac a;
  a.site = vk::Site{47.5, 7.5, 1, {}};
  a.hour_rows = vk::ephemgen::HourRowsOfFolder(data);  // the hours around each period, as the window takes them
  std::vector<double> moving, moving_cpu;
  for (int run = 0; run < 6; ++run) {
    a.period = run % 2 == 0 ? sixties : forties;
    const double c0 = CpuMs();
    const auto t0 = Clock::now();
    vk::ComputeSiteEvents(a, a.site, a.interpolation, cache.path(), nullptr);
    vk::TakeSiteEvents(a, a.site, a.interpolation, cache / vk::EventLogName(a.period));
    if (run > 0) {  // the first loads into fresh pages
      moving.push_back(Seconds(t0, Clock::now()));
      moving_cpu.push_back((CpuMs() - c0) / 1000);
    }
  }
  std::printf("moving into a made period (load, prepare, events, table): median %.3f s of 5, CPU %.3f s\n",
              Median(moving), Median(moving_cpu));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident memory: %.0f MB\n", usage.ru_maxrss / 1024.0);
  return 0;
}
