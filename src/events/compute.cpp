#include "events/compute.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <memory>
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
// Room for twice the usual lines and their records (what a piece takes
// beyond its reserve comes from the rest, and then from the heap).
constexpr std::size_t kTextArenaBytes = std::size_t{24} << 20;
constexpr std::size_t kRecordArenaBytes = std::size_t{16} << 20;

// One container per body, all taking their room from one arena of `bytes`;
// containers that already do are kept as they are, with their room.
template <class Container>
void InOneArena(std::vector<Container>& per_body, std::size_t bytes) {
  if (per_body.size() == kBodyCount && per_body.front().get_allocator().arena) return;
  const typename Container::allocator_type room(std::make_shared<LargeArena>(bytes));
  per_body.clear();
  for (int b = 0; b < kBodyCount; ++b) per_body.emplace_back(room);
}

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
                  unsigned threads, Interpolation mode, std::vector<LogText>& lines,
                  std::vector<LineRecords>* records, const PiecesReady& ready = {}) {
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  // Room for every body's lines is taken here, on the calling thread: memory
  // that threads of their own take stays with them after they end. No more
  // than the usual need, though: freed room that is taken again counts in
  // the resident memory whether it is used or not. Room kept from an earlier
  // computation is used again.
  // All pieces side by side in 2 MiB pages, and all their records: a fresh
  // process would otherwise fault in every 4 KiB of them.
  InOneArena(lines, kTextArenaBytes);
  if (records) InOneArena(*records, kRecordArenaBytes);
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
    // Found once after the rows are prepared, beside the other bodies' work.
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
  // A body's site values and then its passes read and write that body's
  // rows alone: each body is one task (its rows in blocks, whose scratch
  // room stays small).
  auto body_task = [&](int b) {
    for (int k = 0; k < kBlocks; ++k) ComputeSiteValues(eph, site, obs, b, basic, FirstRow(k), LastRow(k), mode);
    passes(b);
    finished(b);
  };
  auto tell = [&](int b) {
    if (progress) progress("Computing basic values... " + std::to_string(b), StatusColour::Yellow);
  };
  if (threads == 0) threads = DefaultThreadCount();
  if (threads == 1) {
    for (int b = 0; b < kBodyCount; ++b) {
      tell(b);
      body_task(b);
    }
    return;
  }
  // On several cores, workers take the bodies in body order (the Sun's, the
  // longest, first), each as soon as it is free; the calling thread tells of
  // each start, in body order. After a task fails no further task starts.
  std::vector<std::exception_ptr> errors(kBodyCount);
  std::mutex state;
  std::condition_variable changed;
  int next = 0, told = 0, running = 0;
  bool failed = false;
  {
    std::vector<std::thread> workers;
    struct JoinAll {
      std::vector<std::thread>& threads;
      ~JoinAll() {
        for (std::thread& t : threads) t.join();
      }
    } join{workers};
    const unsigned count = std::min<unsigned>(threads, kBodyCount);
    running = static_cast<int>(count);
    for (unsigned w = 0; w < count; ++w)
      workers.emplace_back([&] {
        for (;;) {
          int b = 0;
          {
            const std::lock_guard lock(state);
            if (failed || next == kBodyCount) break;
            b = next++;
          }
          changed.notify_all();
          try {
            body_task(b);
          } catch (...) {
            const std::lock_guard lock(state);
            errors[static_cast<std::size_t>(b)] = std::current_exception();
            failed = true;
          }
        }
        {
          const std::lock_guard lock(state);
          --running;
        }
        changed.notify_all();
      });
    // The status texts, told here: the caller's thread may be the only one that may show them.
    std::unique_lock lock(state);
    for (;;) {
      changed.wait(lock, [&] { return told < next || running == 0; });
      if (told == next && running == 0) break;
      const int upto = next;
      lock.unlock();
      for (; told < upto; ++told) tell(told);
      lock.lock();
    }
  }  // every worker has ended
  for (const std::exception_ptr& e : errors)
    if (e) std::rethrow_exception(e);
}

}  // namespace

std::vector<LogText> ComputeEventLines(const EphemerisStore& eph, BasicTable& basic, const Site& site,
                                           const ProgressFn& progress, unsigned threads, Interpolation mode,
                                           std::vector<LineRecords>* records) {
  std::vector<LogText> lines;
  ComputeLines(eph, basic, site, progress, threads, mode, lines, records);
  return lines;
}

void ComputeEventLines(const EphemerisStore& eph, BasicTable& basic, const Site& site, const ProgressFn& progress,
                       unsigned threads, Interpolation mode, EventLines& lines, const PiecesReady& ready) {
  ComputeLines(eph, basic, site, progress, threads, mode, lines.pieces, &lines.records, ready);
}

void WriteEventLog(std::span<const LogText> pieces, const std::filesystem::path& log_path,
                   const std::function<bool(std::size_t piece)>& available) {
  // Replaced at every site change: the old log's room is written over next time.
  AtomicFile log(log_path, /*reuse_spare=*/true);
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
