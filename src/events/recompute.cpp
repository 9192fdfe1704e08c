#include "events/recompute.h"

#include "events/compute.h"

namespace vk {

void RunRecomputationChain(Almanac& a, const std::filesystem::path& dir, const ProgressFn& progress,
                           const std::filesystem::path& log_dir) {
  const std::filesystem::path logs = log_dir.empty() ? dir : log_dir;
  ComputeAllData(a.ephemeris, a.basic, a.site, dir, progress, 0, logs, a.interpolation);
  ReadEventLog(a.events, logs / kEventLogName);
  SortEventTable(a.events);
  ReadPhaseTable(a.phases, dir / kPhaseFileName);
}

}  // namespace vk
