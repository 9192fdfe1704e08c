#include "events/recompute.h"

#include "events/compute.h"

namespace vk {

void RunRecomputationChain(Almanac& a, const std::filesystem::path& dir, const ProgressFn& progress) {
  ComputeAllData(a.ephemeris, a.basic, a.site, dir, progress);
  ReadEventLog(a.events, dir / kEventLogName);
  SortEventTable(a.events);
  ReadPhaseTable(a.phases, dir / kPhaseFileName);
}

}  // namespace vk
