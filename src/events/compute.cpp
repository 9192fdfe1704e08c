#include "events/compute.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ephemeris/atomic_file.h"
#include "events/event_passes.h"

namespace vk {
namespace {

// Runs work(k) for k in [0, count) on up to `threads` threads, each k on
// exactly one thread, taken in increasing order.
template <class Work>
void ForEach(int count, unsigned threads, Work work) {
  std::atomic<int> next{0};
  auto worker = [&] {
    for (int k = next++; k < count; k = next++) work(k);
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (auto& t : pool) t.join();
}

}  // namespace

void ComputeAllData(EphemerisStore& eph, BasicTable& basic, const Site& site, const std::filesystem::path& dir,
                    const ProgressFn& progress, unsigned threads, const std::filesystem::path& log_dir,
                    Interpolation mode) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
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
    ForEach(kBlocks, threads, [&](int k) {
      const int first = 1 + k * kEphemerisRows / kBlocks;
      const int last = (k + 1) * kEphemerisRows / kBlocks;
      ComputeBasicValues(eph, site, obs, b, basic, first, last);
    });
  }

  AtomicFile log((log_dir.empty() ? dir : log_dir) / kEventLogName);
  std::array<std::string, kBodyCount> lines;
  ForEach(kBodyCount, threads, [&](int b) {
    lines[b].reserve(1 << 22);
    RunEventPasses(eph, basic, site, b, lines[b], mode);
  });
  for (const std::string& l : lines) log.write(l);
  log.commit();
  report("Done.", StatusColour::ButtonFace);
}

}  // namespace vk
