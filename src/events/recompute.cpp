#include "events/recompute.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <span>
#include <string>
#include <vector>
#include <thread>

#include "events/compute.h"

namespace vk {

void RunRecomputationChain(Almanac& a, const std::filesystem::path& dir, const ProgressFn& progress,
                           const std::filesystem::path& log_dir) {
  const std::filesystem::path logs = log_dir.empty() ? dir : log_dir;
  const EphemerisStamp stamp = StampEphemeris(dir);
  if (!a.prepared || !(*a.prepared == stamp) || !Complete(stamp)) {
    a.prepared.reset();  // a failed load leaves tables that match no files
    LoadAndPrepare(a.ephemeris, a.basic, dir);
    if (Complete(stamp)) a.prepared = stamp;
  }
  const std::filesystem::path log_path = logs / kEventLogName;
  // One piece per body from here on: the writer's view of them stays valid.
  a.lines.pieces.resize(kBodyCount);
  // The pieces themselves: they stay where they are when the table takes them over.
  const std::span<const LogText> text(a.lines.pieces);
  // The log is written on its own thread, each body's piece as soon as it and
  // the pieces before it are complete (beside the last bodies' passes), and
  // then while the same bytes are read into the table; the chain ends only
  // when both are done, with the write's error first.
  std::mutex m;
  std::condition_variable cv;
  int ready = 0;           // pieces 0 … ready − 1 are complete
  bool abandoned = false;  // the computation failed: no more pieces come
  std::exception_ptr write_error;
  std::thread writer([&] {
    try {
      WriteEventLog(text, log_path, [&](std::size_t b) {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return ready > static_cast<int>(b) || abandoned; });
        return ready > static_cast<int>(b);
      });
    } catch (...) {
      write_error = std::current_exception();
    }
  });
  try {
    ComputeEventLines(a.ephemeris, a.basic, a.site, progress, 0, a.interpolation, a.lines, [&](int n) {
      {
        const std::lock_guard lock(m);
        ready = n;
      }
      cv.notify_one();
    });
  } catch (...) {
    {
      const std::lock_guard lock(m);
      abandoned = true;
    }
    cv.notify_one();
    writer.join();
    throw;
  }
  std::exception_ptr read_error;
  try {
    // The table takes the pieces over (and leaves its old text for the next
    // computation), or is read from a copy of their bytes.
    if (!ReadSortedEventRecords(a.events, a.lines.pieces, a.lines.records))
      ReadSortedEventText(a.events, std::vector<LogText>(text.begin(), text.end()), log_path);
  } catch (...) {
    read_error = std::current_exception();
  }
  writer.join();
  if (write_error) std::rethrow_exception(write_error);
  if (read_error) std::rethrow_exception(read_error);
  if (progress) progress("Done.", StatusColour::ButtonFace);
  // The phase table does not depend on the site: read again only when the file is another.
  const std::filesystem::path phase_path = dir / kPhaseFileName;
  const FileStamp phases = StampFile(phase_path);
  if (!a.phases_read || !(*a.phases_read == phases) || phases.size < 0) {
    a.phases_read.reset();  // a failed reading leaves a table that matches no file
    ReadPhaseTable(a.phases, phase_path);
    if (phases.size >= 0) a.phases_read = phases;
  }
}

}  // namespace vk
