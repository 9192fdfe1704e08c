#include "events/recompute.h"

#include <string>
#include <utility>
#include <vector>

#include "compute.h"
#include "headline_lines.h"
#include "period_margins.h"

namespace vk {

std::filesystem::path EventLogPath(const std::filesystem::path& dir, const std::filesystem::path& log_dir,
                                   const tPeriod& period) {
  return (log_dir.empty() ? dir : log_dir) / EventLogName(period);
}

bool ComputeSiteEvents(Almanac& a, const Site& site, Interpolation mode, const std::filesystem::path& dir,
                       const ProgressFn& progress, std::stop_token stop) {
  const EphemerisStamp stamp = StampEphemeris(dir, a.period);
  if (!a.prepared || !(*a.prepared == stamp) || !Complete(stamp)) {
    a.prepared.reset();  // a failed load leaves tables that match no files
    a.global_headlines.reset();
    a.margins->Clear(a.period);
    // The rows around the period are made beside the preparation of its own.
    const auto margins = [&] { a.margins->Load(a.period, a.hour_rows); };
    if (!LoadAndPrepare(a.ephemeris, *a.basic, dir, 0, stop, a.period,
                        a.hour_rows ? std::function<void()>(margins) : std::function<void()>()))
      return false;
    if (Complete(stamp)) a.prepared = stamp;
  }
  // The rows around the period, when they can be made: without them (no
  // coefficient file, a damaged one, beyond its span) the events are the
  // period's rows' alone, as a data folder of the documented decade's files
  // has them. Once per loading, failed or not (here when the hours came
  // after the loading).
  if (a.hour_rows && !a.margins->Tried(a.period)) a.margins->Load(a.period, a.hour_rows);
  if (stop.stop_requested()) return false;
  // The phase table does not depend on the site: read again only when the file is another.
  a.next_phases.reset();
  const std::filesystem::path phase_path = dir / PhaseFileName(a.period);
  const FileStamp phases = StampFile(phase_path);
  if (!a.phases_read || !(*a.phases_read == phases) || phases.size < 0) {
    Almanac::NextPhases next{std::make_unique<PhaseTable>(), {}, {}};
    try {
      ReadPhaseTable(*next.table, phase_path, a.period.phase_days());
      if (phases.size >= 0) next.stamp = phases;
    } catch (...) {
      next.error = std::current_exception();
    }
    a.next_phases = std::move(next);
  }
  // The headline events, from the same search in both modes, bracketed at
  // the new and full Moons the passes found: searched in the Moon's task,
  // while the other bodies' passes run.
  auto headlines = [&] {
    const std::vector<double> syzygies = SyzygyInstants(a.ephemeris, *a.basic);
    if (!a.global_headlines) a.global_headlines = FindGlobalHeadlines(a.ephemeris, syzygies);
    a.next_headlines = FindSiteHeadlines(a.ephemeris, syzygies, *a.global_headlines, site);
    a.next_moon_days = ComputeMoonDays(a.ephemeris, syzygies, site);
    AppendHeadlineLines(a.lines.pieces[std::size_t{kHeadlinePiece}], &a.lines.records[std::size_t{kHeadlinePiece}],
                        *a.global_headlines, a.next_headlines, site);
  };
  ComputeEventLines(a.ephemeris, *a.basic, site, progress, 0, mode, a.lines, stop, headlines, a.photo_light);
  if (stop.stop_requested()) return false;
  a.margins->AppendEvents(a.ephemeris, site, mode, a.photo_light,
                          std::span<const LogText>(a.lines.pieces).first(std::size_t{kMarginPiece}),
                          std::span<const LineRecords>(a.lines.records).first(std::size_t{kMarginPiece}),
                          a.lines.pieces[std::size_t{kMarginPiece}], a.lines.records[std::size_t{kMarginPiece}]);
  return true;
}

void TakeSiteEvents(Almanac& a, const Site& site, Interpolation mode, const std::filesystem::path& log_path) {
  a.site = site;
  a.interpolation = mode;
  a.events.headlines = std::move(a.next_headlines);
  a.next_headlines = {};
  a.events.moon_days = std::move(a.next_moon_days);
  a.next_moon_days = {};
  // The table takes the pieces over (and leaves its old text for the next
  // computation), or is read from a copy of their bytes.
  if (!ReadSortedEventRecords(a.events, a.lines.pieces, a.lines.records))
    ReadSortedEventText(a.events, std::vector<LogText>(a.lines.pieces.begin(), a.lines.pieces.end()), log_path);
  if (!a.next_phases) return;
  Almanac::NextPhases next = std::move(*a.next_phases);
  a.next_phases.reset();
  if (next.error) {
    a.phases_read.reset();  // the table in force matches no file now
    std::rethrow_exception(next.error);
  }
  a.phases = *next.table;
  a.phases_read = next.stamp;
}

void WriteSiteLog(const Almanac& a, const std::filesystem::path& log_path) {
  // The classic log is the passes' alone: the headline events reach its
  // table from their own piece, which the log leaves out. The golden and
  // blue hours' piece is left out of either log.
  std::span<const LogText> pieces = a.events.text;
  if (pieces.size() == std::size_t{kLogPieces})
    pieces = pieces.first(static_cast<std::size_t>(a.interpolation == Interpolation::Classic ? kHeadlinePiece : kLightPiece));
  WriteEventLog(pieces, log_path);
  // Earlier versions kept the log before this one beside it, hidden; nothing reads it.
  std::error_code ignored;
  std::string spare_name = ".";  // appended, not "." + …: GCC 12 takes the sum for an overlapping copy
  spare_name += log_path.filename().string();
  spare_name += ".vk-spare";
  const std::filesystem::path spare = log_path.parent_path() / spare_name;
  if (std::filesystem::is_regular_file(std::filesystem::symlink_status(spare, ignored)))
    std::filesystem::remove(spare, ignored);
}

void RunRecomputationChain(Almanac& a, const std::filesystem::path& dir, const ProgressFn& progress,
                           const std::filesystem::path& log_dir) {
  const std::filesystem::path log_path = EventLogPath(dir, log_dir, a.period);
  ComputeSiteEvents(a, a.site, a.interpolation, dir, progress);
  TakeSiteEvents(a, a.site, a.interpolation, log_path);
  WriteSiteLog(a, log_path);
  if (progress) progress("Done.", StatusColour::ButtonFace);
}

}  // namespace vk
