#include "events/recompute.h"

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
  ComputeEventLog(a.ephemeris, a.basic, a.site, logs / kEventLogName, progress, 0, a.interpolation);
  ReadEventLog(a.events, logs / kEventLogName);
  SortEventTable(a.events);
  ReadPhaseTable(a.phases, dir / kPhaseFileName);
}

}  // namespace vk
