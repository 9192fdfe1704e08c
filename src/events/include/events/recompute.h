// The recomputation chain after a start or a change of site or zone.
#pragma once
#include <filesystem>

#include "base/progress.h"
#include "events/almanac.h"

namespace vk {

// ComputeAllData, ReadSortedEventLog and ReadPhaseTable on the files of `dir`, in this order; the
// event log is written to and read from `log_dir` (`dir` when empty); each body's piece of the log
// is written as soon as it and the pieces before it are complete, and the table is read from the
// same bytes while the last of them are written. When the log cannot be written, the table holds
// the new events all the same and the old log stays. The nine binary files are loaded and prepared
// again only when almanac.prepared does not name them as they are now (folder, inode, size,
// modification time); otherwise the site-dependent part alone is computed. The phase table is read
// again only when almanac.phases_read does not name its file as it is now. Throws: the first Error
// of any step, which ends the chain.
void RunRecomputationChain(Almanac& almanac, const std::filesystem::path& dir, const ProgressFn& progress,
                           const std::filesystem::path& log_dir = {});

}  // namespace vk
