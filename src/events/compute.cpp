#include "events/compute.h"

#include <array>
#include <string>

#include "base/atomic_file.h"
#include "base/parallel_for.h"
#include "events/event_passes.h"

namespace vk {
void ComputeAllData(EphemerisStore& eph, BasicTable& basic, const Site& site, const std::filesystem::path& dir,
                    const ProgressFn& progress, unsigned threads, const std::filesystem::path& log_dir,
                    Interpolation mode) {
  auto report = [&](std::string_view text, StatusColour colour) {
    if (progress) progress(text, colour);
  };
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  LoadEphemeris(eph, dir);

  // Every row's basic values depend on that row's ephemeris alone (the Sun's
  // included), so the rows are shared out in blocks; the body order of the
  // status texts stays as the user knows it.
  constexpr int kBlocks = 8;
  for (int b = 0; b < kBodyCount; ++b) {
    report("Computing basic values... " + std::to_string(b), StatusColour::Yellow);
    ParallelFor(kBlocks, threads, [&](int k) {
      const int first = 1 + k * kEphemerisRows / kBlocks;
      const int last = (k + 1) * kEphemerisRows / kBlocks;
      ComputeBasicValues(eph, site, obs, b, basic, first, last);
    });
  }

  AtomicFile log((log_dir.empty() ? dir : log_dir) / kEventLogName);
  std::array<std::string, kBodyCount> lines;
  ParallelFor(kBodyCount, threads, [&](int b) {
    lines[b].reserve(1 << 22);
    RunEventPasses(eph, basic, site, b, lines[b], mode);
  });
  for (const std::string& l : lines) log.write(l);
  log.commit();
  report("Done.", StatusColour::ButtonFace);
}

}  // namespace vk
