// The events whose instants do not depend on the site (configurations,
// distances, seasons, declinations, Moon phases), found once per loading,
// and those that depend on the longitude alone (meridian transits).
#pragma once
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "events/event_line.h"
#include "events/interpolation.h"

namespace vk {

// One such event: `offset` hours after the ephemeris row before `row`, with
// its log name and fields.
struct FixedEvent {
  int row;
  double offset;
  std::string_view event;
  EventFields fields;
  std::optional<Interpolation> only;  // written in this mode alone; none: in both
};

using FixedEvents = std::vector<FixedEvent>;

// The meridian transits of a body as the passes found them for one longitude
// and mode: they do not depend on the latitude, and are kept for the next
// site at the same longitude. Each: `offset` hours after the row before `row`.
struct TransitMemo {
  double lon = std::numeric_limits<double>::quiet_NaN();  // degrees east; NaN: none kept
  Interpolation mode = Interpolation::Classic;
  std::vector<std::pair<int, double>> at;  // row, offset
};

}  // namespace vk
