// Everything the computation and the chart share, allocated once.
#pragma once

#include "ephemeris/ephemeris_store.h"
#include "events/basic_values.h"
#include "events/event_table.h"
#include "events/interpolation.h"
#include "events/phase_table.h"
#include "events/site.h"

namespace vk {

struct Almanac {
  EphemerisStore ephemeris;
  BasicTable basic;
  EventStore events;
  PhaseTable phases;
  Site site;
  Interpolation interpolation = Interpolation::Precise;  // of the event instants
};

}  // namespace vk
