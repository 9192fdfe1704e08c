#include "events/compute.h"

#include <array>
#include <exception>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/parallel_for.h"
#include "events/event_passes.h"

namespace vk {
namespace {

// Every row's basic values depend on that row's ephemeris alone (the Sun's
// included), so the rows are shared out in blocks.
constexpr int kBlocks = 8;
int FirstRow(int block) { return 1 + block * kEphemerisRows / kBlocks; }
int LastRow(int block) { return (block + 1) * kEphemerisRows / kBlocks; }

// The lines a body writes over the period at most sites: a day's six
// twilights, rise, set and transit of the Sun, rise, set and transit of the
// other bodies, and a little more for their yearly events; most lines are
// 73 to 79 bytes long.
std::size_t UsualLineCount(int body) {
  const double a_day = body == Sun ? 9.2 : 3.3;
  return static_cast<std::size_t>(kEphemerisRows / 24.0 * a_day);
}
constexpr std::size_t kUsualLineBytes = 80;

}  // namespace

void LoadAndPrepare(EphemerisStore& eph, BasicTable& basic, const std::filesystem::path& dir, unsigned threads) {
  LoadEphemeris(eph, dir);
  // Each block prepares the Sun's rows before the other bodies' same rows.
  ParallelFor(kBlocks, threads, [&](int k) {
    for (int b = 0; b < kBodyCount; ++b) PrepareBasicValues(eph, b, basic, FirstRow(k), LastRow(k));
  });
}

namespace {

void ComputeLines(const EphemerisStore& eph, BasicTable& basic, const Site& site, const ProgressFn& progress,
                  unsigned threads, Interpolation mode, std::vector<std::string>& lines,
                  std::vector<std::vector<LineRecord>>* records, const PiecesReady& ready = {}) {
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  // Room for every body's lines is taken here, on the calling thread: memory
  // that threads of their own take stays with them after they end. No more
  // than the usual need, though: freed room that is taken again counts in
  // the resident memory whether it is used or not. Room kept from an earlier
  // computation is used again.
  lines.resize(kBodyCount);
  if (records) records->resize(kBodyCount);
  for (int b = 0; b < kBodyCount; ++b) {
    const std::size_t expected = UsualLineCount(b);
    lines[static_cast<std::size_t>(b)].clear();
    lines[static_cast<std::size_t>(b)].reserve(expected * kUsualLineBytes);
    if (records) {
      (*records)[static_cast<std::size_t>(b)].clear();
      (*records)[static_cast<std::size_t>(b)].reserve(expected);
    }
  }
  auto passes = [&](int b) {
    const auto body = static_cast<std::size_t>(b);
    // Found once after the rows are prepared, beside the next bodies' site values.
    if (!basic.fixed_events(b)) PrepareFixedEvents(eph, basic, b);
    RunEventPasses(eph, basic, site, b, lines[body], mode, records ? &(*records)[body] : nullptr, &basic.transits(b));
  };
  // Pieces 0 … complete_upto − 1 are complete; `ready` hears of each new end in turn.
  std::mutex order;
  std::array<bool, kBodyCount> complete{};
  int complete_upto = 0;
  auto finished = [&](int b) {
    if (!ready) return;
    const std::lock_guard lock(order);
    complete[static_cast<std::size_t>(b)] = true;
    const int before = complete_upto;
    while (complete_upto < kBodyCount && complete[static_cast<std::size_t>(complete_upto)]) ++complete_upto;
    if (complete_upto > before) ready(complete_upto);
  };
  if (threads == 0) threads = DefaultThreadCount();
  // A body's passes read its own site values alone: on several cores they
  // run on their own thread as soon as those are done, beside the next
  // body's site values.
  std::vector<std::exception_ptr> errors(kBodyCount);
  {
    std::vector<std::thread> running;
    struct JoinAll {
      std::vector<std::thread>& threads;
      ~JoinAll() {
        for (std::thread& t : threads) t.join();
      }
    } join{running};
    // The body order of the status texts stays as the user knows it.
    for (int b = 0; b < kBodyCount; ++b) {
      if (progress) progress("Computing basic values... " + std::to_string(b), StatusColour::Yellow);
      ParallelFor(kBlocks, threads,
                  [&](int k) { ComputeSiteValues(eph, site, obs, b, basic, FirstRow(k), LastRow(k)); });
      if (threads == 1) {
        passes(b);
        finished(b);
        continue;
      }
      running.emplace_back([&, b] {
        try {
          passes(b);
          finished(b);
        } catch (...) {
          errors[static_cast<std::size_t>(b)] = std::current_exception();
        }
      });
    }
  }  // every body's passes have ended
  for (const std::exception_ptr& e : errors)
    if (e) std::rethrow_exception(e);
}

}  // namespace

std::vector<std::string> ComputeEventLines(const EphemerisStore& eph, BasicTable& basic, const Site& site,
                                           const ProgressFn& progress, unsigned threads, Interpolation mode,
                                           std::vector<std::vector<LineRecord>>* records) {
  std::vector<std::string> lines;
  ComputeLines(eph, basic, site, progress, threads, mode, lines, records);
  return lines;
}

void ComputeEventLines(const EphemerisStore& eph, BasicTable& basic, const Site& site, const ProgressFn& progress,
                       unsigned threads, Interpolation mode, EventLines& lines, const PiecesReady& ready) {
  ComputeLines(eph, basic, site, progress, threads, mode, lines.pieces, &lines.records, ready);
}

void WriteEventLog(std::span<const std::string> pieces, const std::filesystem::path& log_path,
                   const std::function<bool(std::size_t piece)>& available) {
  AtomicFile log(log_path);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (available && !available(i)) return;  // the temporary file goes with `log`
    log.write(pieces[i]);
  }
  // Renamed whole over the old log, not synced: the log is computed anew from
  // the data at every start, and waiting for the disk at every site change
  // would keep the user waiting for nothing.
  log.commit(/*sync=*/false);
}

void ComputeEventLog(const EphemerisStore& eph, BasicTable& basic, const Site& site,
                     const std::filesystem::path& log_path, const ProgressFn& progress, unsigned threads,
                     Interpolation mode) {
  WriteEventLog(ComputeEventLines(eph, basic, site, progress, threads, mode), log_path);
  if (progress) progress("Done.", StatusColour::ButtonFace);
}

void ComputeAllData(EphemerisStore& eph, BasicTable& basic, const Site& site, const std::filesystem::path& dir,
                    const ProgressFn& progress, unsigned threads, const std::filesystem::path& log_dir,
                    Interpolation mode) {
  LoadAndPrepare(eph, basic, dir, threads);
  ComputeEventLog(eph, basic, site, (log_dir.empty() ? dir : log_dir) / kEventLogName, progress, threads, mode);
}

}  // namespace vk
