// The recomputation chain after a start or a change of site or zone.
#pragma once
#include <filesystem>

#include "ephemeris/ephemeris_store.h"
#include "ephemeris/progress.h"
#include "events/basic_values.h"
#include "events/event_table.h"
#include "events/interpolation.h"
#include "events/phase_table.h"
#include "events/site.h"

namespace vk {

// Everything the computation and the chart share, allocated once.
struct Almanac {
  EphemerisStore ephemeris;
  BasicTable basic;
  EventStore events;
  PhaseTable phases;
  Site site;
  Interpolation interpolation = Interpolation::Precise;  // of the event instants
};

// ComputeAllData, ReadEventLog, SortEventTable and ReadPhaseTable on the files
// of `dir`, in this order; the event log is written to and read from
// `log_dir` (`dir` when empty). Throws: the first Error of any step, which
// ends the chain.
void RunRecomputationChain(Almanac& almanac, const std::filesystem::path& dir, const ProgressFn& progress,
                           const std::filesystem::path& log_dir = {});

}  // namespace vk
