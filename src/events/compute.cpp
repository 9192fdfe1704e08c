#include "compute.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/parallel_for.h"
#include "event_passes.h"

namespace vk {
namespace {

// Every row's basic values depend on that row's ephemeris alone (the Sun's
// included), so the rows are shared out in blocks.
constexpr int kBlocks = 8;
int FirstRow(int block, int rows) { return 1 + block * rows / kBlocks; }
int LastRow(int block, int rows) { return (block + 1) * rows / kBlocks; }

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
  if (per_body.size() == kLogPieces && per_body.front().get_allocator().arena) return;
  const typename Container::allocator_type room(std::make_shared<LargeArena>(bytes));
  per_body.clear();
  for (int b = 0; b < kLogPieces; ++b) per_body.emplace_back(room);
}

}  // namespace

bool LoadAndPrepare(EphemerisStore& eph, BasicTable& basic, const std::filesystem::path& dir, unsigned threads,
                    std::stop_token stop, const tPeriod& period, const std::function<void()>& beside) {
  LoadEphemeris(eph, dir, period);
  // Each block prepares the Sun's rows before the other bodies' same rows;
  // `beside` first, so that the blocks fill the other threads meanwhile.
  const int first = beside ? 1 : 0;
  ParallelFor(
      kBlocks + first, threads,
      [&](int task) {
        if (task < first) return beside();
        const int k = task - first;
        for (int b = 0; b < kBodyCount; ++b) PrepareBasicValues(eph, b, basic, FirstRow(k, eph.rows()), LastRow(k, eph.rows()));
      },
      stop);
  return !stop.stop_requested();
}

namespace {

void ComputeLines(const EphemerisStore& eph, BasicTable& basic, const Site& site, const ProgressFn& progress,
                  unsigned threads, Interpolation mode, std::vector<LogText>& lines,
                  std::vector<LineRecords>* records, std::stop_token stop = {},
                  const std::function<void()>& after_moon = {}, bool light = false) {
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
  // The headline events' piece is filled after the passes (ComputeSiteEvents).
  lines[std::size_t{kHeadlinePiece}].clear();
  if (records) (*records)[std::size_t{kHeadlinePiece}].clear();
  lines[std::size_t{kLightPiece}].clear();
  if (records) (*records)[std::size_t{kLightPiece}].clear();
  // The margins' piece too (ComputeSiteEvents).
  lines[std::size_t{kMarginPiece}].clear();
  if (records) (*records)[std::size_t{kMarginPiece}].clear();
  auto passes = [&](int b) {
    const auto body = static_cast<std::size_t>(b);
    // Found once after the rows are prepared, beside the other bodies' work.
    if (!basic.fixed_events(b)) PrepareFixedEvents(eph, basic, b);
    RunEventPasses(eph, basic, site, obs, b, lines[body], mode, records ? &(*records)[body] : nullptr,
                   &basic.transits(b));
    // The Sun's task alone writes the golden and blue hours' piece, when asked for.
    if (b == Sun && light)
      RunLightPasses(eph, basic, site, obs, lines[std::size_t{kLightPiece}], mode,
                     records ? &(*records)[std::size_t{kLightPiece}] : nullptr);
  };
  // A body's site values and then its passes read and write that body's
  // rows alone: each body is one task (its rows in blocks, whose scratch
  // room stays small), the Sun's, the longest, first. Each body's text is
  // told as its task starts: in body order, one at a time.
  auto body_task = [&](int b) {
    for (int k = 0; k < kBlocks; ++k)
      ComputeSiteValues(eph, site, obs, b, basic, FirstRow(k, eph.rows()), LastRow(k, eph.rows()), mode, light);
    passes(b);
    if (b == Moon && after_moon) after_moon();
  };
  auto tell = [&](int b) {
    if (progress) progress("Computing basic values... " + std::to_string(b), StatusColour::Yellow);
  };
  ParallelFor(kBodyCount, threads, body_task, stop, tell);
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
                       unsigned threads, Interpolation mode, EventLines& lines, std::stop_token stop,
                       const std::function<void()>& after_moon, bool light) {
  ComputeLines(eph, basic, site, progress, threads, mode, lines.pieces, &lines.records, stop, after_moon, light);
}

void WriteEventLog(std::span<const LogText> pieces, const std::filesystem::path& log_path) {
  AtomicFile log(log_path);
  for (const LogText& piece : pieces) log.write(piece);
  // Not synced: the log is computed anew from the data at every start, and
  // waiting for the disk at every site change would gain nothing.
  log.commit(/*sync=*/false);
}

void ComputeEventLog(const EphemerisStore& eph, BasicTable& basic, const Site& site,
                     const std::filesystem::path& log_path, const ProgressFn& progress, unsigned threads,
                     Interpolation mode) {
  const std::vector<LogText> lines = ComputeEventLines(eph, basic, site, progress, threads, mode);
  WriteEventLog(std::span<const LogText>(lines).first(std::size_t{kLightPiece}), log_path);
  if (progress) progress("Done.", StatusColour::ButtonFace);
}

void ComputeAllData(EphemerisStore& eph, BasicTable& basic, const Site& site, const std::filesystem::path& dir,
                    const ProgressFn& progress, unsigned threads, const std::filesystem::path& log_dir,
                    Interpolation mode) {
  LoadAndPrepare(eph, basic, dir, threads);
  ComputeEventLog(eph, basic, site, (log_dir.empty() ? dir : log_dir) / kEventLogName, progress, threads, mode);
}

}  // namespace vk
