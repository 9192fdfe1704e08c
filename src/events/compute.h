// The event computation: every event of the period for the current site,
// written to the event log.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <span>
#include <stop_token>
#include <vector>

#include "ephemeris/ephemeris_store.h"
#include "base/progress.h"
#include "basic_values.h"
#include "events/event_line.h"
#include "events/interpolation.h"
#include "events/site.h"

namespace vk {

// The pieces of an event log: one per body in body order, then one for the
// eclipses, occultations and close approaches (left empty by the passes),
// then one for the golden and blue hours (filled only when asked for), then
// one for the events of the hours around the period's rows on its first and
// last local day (left empty by the passes); the last two reach the event
// table but never the written log.
inline constexpr int kHeadlinePiece = kBodyCount;
inline constexpr int kLightPiece = kBodyCount + 1;
inline constexpr int kMarginPiece = kBodyCount + 2;
inline constexpr int kLogPieces = kBodyCount + 3;


inline constexpr const char* kEventLogName = "Vesperkalend_2022-2032_Log.txt";

// Loads the nine binary files of `dir`, fills the basic values of every body
// in body order, runs the event passes of every body and writes
// `dir`/Vesperkalend_2022-2032_Log.txt (grouped by body, then pass, each pass
// in time order; WriteEventLog). Rows and bodies are shared out over
// `threads` cores (ParallelFor; 0 takes every core); the log is the same
// bytes as a run on one core. Progress: "Computing basic values... <b>" on
// yellow for b = 0 … 8 in order, each as body b's work starts, from the
// thread that does it, one call at a time; then "Done." on the button-face
// colour from the calling thread.
// Throws: Error from LoadEphemeris, or the system's text when the log cannot
// be written; the old log then stays.
// The log goes to `log_dir` when given (a folder the user may write when `dir` is read-only).
// `mode`: how the instants of twilights, rises, sets and transits are found (RunEventPasses).
void ComputeAllData(EphemerisStore& eph, BasicTable& basic, const Site& site, const std::filesystem::path& dir,
                    const ProgressFn& progress, unsigned threads = 0, const std::filesystem::path& log_dir = {},
                    Interpolation mode = Interpolation::Precise);

// The part of ComputeAllData that does not depend on the site: loads the nine
// binary files of `dir` and prepares the site-independent basic values of
// every body (PrepareBasicValues), shared out over `threads` cores (0: every
// core); the site-independent events are found by the first ComputeEventLines
// after it and kept for the later ones. `period`: whose files are loaded.
// `beside`, when given, runs as one more task of the preparation (the first
// handed out), beside the rows' blocks; it must not touch `eph` or `basic`.
// Returns: false when `stop` was
// requested before every row was prepared (the basic values are then of no
// use until the next complete preparation; `beside` may not have run).
// Throws: Error from LoadEphemeris, or what `beside` throws.
bool LoadAndPrepare(EphemerisStore& eph, BasicTable& basic, const std::filesystem::path& dir, unsigned threads = 0,
                    std::stop_token stop = {}, const tPeriod& period = kDocumentedPeriod,
                    const std::function<void()>& beside = {});

// The part of ComputeAllData that depends on the site, on tables that
// LoadAndPrepare filled: the site's basic values, the event passes and the
// log written to `log_path`, with the same progress texts and bytes.
// Throws: the system's text when the log cannot be written; the old log then stays.
void ComputeEventLog(const EphemerisStore& eph, BasicTable& basic, const Site& site,
                     const std::filesystem::path& log_path, const ProgressFn& progress, unsigned threads = 0,
                     Interpolation mode = Interpolation::Precise);

// The bytes ComputeEventLog writes, one piece per body in body order, with
// the same progress texts except "Done.". A body's site-independent events
// are found and kept (PrepareFixedEvents) where they are not kept yet.
// `records`, when given, receives per piece one LineRecord per line
// (RunEventPasses). Never fails except std::bad_alloc.
std::vector<LogText> ComputeEventLines(const EphemerisStore& eph, BasicTable& basic, const Site& site,
                                           const ProgressFn& progress, unsigned threads = 0,
                                           Interpolation mode = Interpolation::Precise,
                                           std::vector<LineRecords>* records = nullptr);
// The same into `lines`, pieces and records, whose room is used again
// (taken anew, its pages would be faulted in and cleared at every site
// change). A body whose task starts after `stop` was requested is left out:
// the lines are then of no use. `after_moon`, when given, runs in the Moon's
// task right after its passes (its site-independent events then kept), beside
// the other bodies' work; what it throws ends the computation and is thrown.
// `light`: the golden and blue hours' piece is filled too (RunLightPasses);
// else it stays empty. Never fails except std::bad_alloc and what `after_moon` throws.
void ComputeEventLines(const EphemerisStore& eph, BasicTable& basic, const Site& site, const ProgressFn& progress,
                       unsigned threads, Interpolation mode, EventLines& lines, std::stop_token stop = {},
                       const std::function<void()>& after_moon = {}, bool light = false);

// Writes `pieces` one after another as the event log `log_path`: under a
// temporary name in the same folder, renamed over the old log when complete
// (not synced to the disk). Throws: Error with the system's text; the old log
// then stays.
void WriteEventLog(std::span<const LogText> pieces, const std::filesystem::path& log_path);

}  // namespace vk
