// The recomputation after a start or a change of site, zone or mode, in three
// steps so that a window can compute on a worker while it shows the table in
// force: ComputeSiteEvents (long, on the worker), TakeSiteEvents (short, where
// the table is read), WriteSiteLog (on the worker again, after the table is
// shown). RunRecomputationChain runs the three in a row.
#pragma once
#include <exception>
#include <filesystem>
#include <memory>
#include <stop_token>

#include "base/progress.h"
#include "events/almanac.h"

namespace vk {

// Loads and prepares the nine binary files of `dir` when a.prepared does not
// name them as they are now (folder, inode, size, modification time), reads
// the phase table of `dir` into a.next_phases when a.phases_read does not
// name its file as it is now, and computes the events of `site` with `mode`
// into a.lines. Touches a.ephemeris, a.basic, a.prepared, a.lines and
// a.next_phases only, never what the chart reads (a.events, a.phases, a.site,
// a.interpolation). `stop` is looked at before each task of the preparation and of
// the bodies (ParallelFor).
// Returns: false when `stop` was requested before the events were complete
// (a.lines then hold no usable result; a.prepared stays right). Throws: the
// first Error of the load, which ends it; an error of the phase table is kept
// in a.next_phases and thrown by TakeSiteEvents, after the events are taken.
bool ComputeSiteEvents(Almanac& a, const Site& site, Interpolation mode, const std::filesystem::path& dir,
                       const ProgressFn& progress, std::stop_token stop = {});

// Makes what the last complete ComputeSiteEvents computed the almanac in
// force: a.events filled and sorted from a.lines (the table takes their text
// over and leaves its old text in a.lines for the next computation), a.site =
// `site`, a.interpolation = `mode`, and a.phases the newly read phase table,
// if one was read. `log_path` names the log in error messages. Throws: Error
// of the phase table's reading (the events are in force then, the old phase
// table stays), or Error of the log's text when its records could not be
// taken over and its text fails to read.
void TakeSiteEvents(Almanac& a, const Site& site, Interpolation mode, const std::filesystem::path& log_path);

// Writes the text of the table in force (a.events.text) as the event log
// `log_path`: under a temporary name in the same folder, renamed over the old
// log when complete, and removes the hidden copy of an earlier log that
// earlier versions kept beside it (".<name>.vk-spare", a plain file only).
// Reads a.events only. Throws: Error with the system's text; the old log
// then stays.
void WriteSiteLog(const Almanac& a, const std::filesystem::path& log_path);

// The path of the event log of `period` for the data folder `dir` and the
// log folder `log_dir` (`dir` when empty).
std::filesystem::path EventLogPath(const std::filesystem::path& dir, const std::filesystem::path& log_dir = {},
                                   const tPeriod& period = kDocumentedPeriod);

// ComputeSiteEvents for a.site and a.interpolation, TakeSiteEvents, and
// WriteSiteLog to EventLogPath(dir, log_dir), then "Done.". When the log
// cannot be written, the table holds the new events all the same and the old
// log stays. Throws: the first Error of any step, which ends the chain.
void RunRecomputationChain(Almanac& almanac, const std::filesystem::path& dir, const ProgressFn& progress,
                           const std::filesystem::path& log_dir = {});

}  // namespace vk
