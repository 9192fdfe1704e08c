// The events whose instants do not depend on the site (configurations,
// distances, seasons, declinations, Moon phases), found once per loading.
#pragma once
#include <string_view>
#include <vector>

#include "events/event_line.h"

namespace vk {

// One such event: `offset` hours after the ephemeris row before `row`, with
// its log name and fields.
struct FixedEvent {
  int row;
  double offset;
  std::string_view event;
  EventFields fields;
};

using FixedEvents = std::vector<FixedEvent>;

}  // namespace vk
