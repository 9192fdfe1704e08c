// Loading the nine full-size binary files and importing nine full-size exports.
// Run: build/bin/vk_bench_ephemeris   (prints the median of 5 runs of each)
#include <benchmark/benchmark.h>

#include <cstdio>

#include "ephemeris/ephemeris_store.h"
#include "ephemeris/horizons_import.h"
#include "support/temp_dir.h"

namespace {

// Nine exports of 87651 hourly lines in the HORIZONS column layout.
const vk::test::TempDir& Exports() {
  static vk::test::TempDir dir;
  static bool made = false;
  if (!made) {
    std::string text;
    text.reserve(87651u * 240u);
    for (int i = 0; i < vk::kEphemerisRows; ++i) {
      char line[512];
      const double f = i / 87651.0;
      std::snprintf(line, sizeof line,
                    "2022-Jan-01 %02d:00\t%.9f\t \t \t %02d %02d %09.6f\t %c%02d %02d %08.5f\t%9.3f\t%9.5f\t"
                    "%9.5f\t%10.5f\t%9.6f\t%9.4f\tn.a.\t/T\t%.9f\t%.14f\t%11.7f\t   %s\t%10.6f\t%9.6f\r\n",
                    i % 24, 2459580.5 + i / 24.0, i % 24, i % 60, f * 59.999, f < 0.5 ? '-' : '+', i % 90, i % 60,
                    f * 59.99, -3.5 + f, 99.0 * f, 0.5, 9.75 + f, 1.0 - f, 170.0 * f, 1.0 + f, 0.98 + f / 30,
                    -0.01 + f / 1000, "Sgr", 360.0 * f, -0.00012 * f);
      text += line;
    }
    for (int b = 0; b < vk::kBodyCount; ++b) vk::test::WriteFile(dir / vk::ExportFileName(b), text);
    made = true;
  }
  return dir;
}

void BM_MakeBinaryFiles(benchmark::State& state) {
  const auto& dir = Exports();
  for (auto _ : state) vk::MakeBinaryFiles(dir.path(), nullptr);
}
BENCHMARK(BM_MakeBinaryFiles)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadEphemeris(benchmark::State& state) {
  const auto& dir = Exports();
  static bool converted = false;
  if (!converted) {
    vk::MakeBinaryFiles(dir.path(), nullptr);
    converted = true;
  }
  static vk::EphemerisStore store;
  vk::LoadEphemeris(store, dir.path());  // warm the page cache
  for (auto _ : state) vk::LoadEphemeris(store, dir.path());
}
BENCHMARK(BM_LoadEphemeris)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
