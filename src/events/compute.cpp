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

// Runs work(b) for b in [first, kBodyCount) on up to `threads` threads, each
// body on exactly one thread.
template <class Work>
void ForEachBody(int first, unsigned threads, Work work) {
  std::atomic<int> next{first};
  auto worker = [&] {
    for (int b = next++; b < kBodyCount; b = next++) work(b);
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (auto& t : pool) t.join();
}

}  // namespace

void ComputeAllData(EphemerisStore& eph, BasicTable& basic, const Site& site, const std::filesystem::path& dir,
                    const ProgressFn& progress, unsigned threads) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  auto report = [&](std::string_view text, StatusColour colour) {
    if (progress) progress(text, colour);
  };
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  LoadEphemeris(eph, dir);

  // The Sun first: the other bodies take their longitude differences and elongations from it.
  report("Computing basic values... 0", StatusColour::Yellow);
  ComputeBasicValues(eph, site, obs, Sun, basic);
  ForEachBody(Sun + 1, threads, [&](int b) { ComputeBasicValues(eph, site, obs, b, basic); });
  for (int b = 1; b < kBodyCount; ++b)
    report("Computing basic values... " + std::to_string(b), StatusColour::Yellow);

  AtomicFile log(dir / kEventLogName);
  std::array<std::string, kBodyCount> lines;
  ForEachBody(Sun, threads, [&](int b) {
    lines[b].reserve(1 << 20);
    RunEventPasses(eph, basic, site, b, lines[b]);
  });
  for (const std::string& l : lines) log.write(l);
  log.commit();
  report("Done.", StatusColour::ButtonFace);
}

}  // namespace vk
