// The groups of events a calendar export can choose from: the event
// categories of the kinds table, with the key of the tool's --kinds and the
// label of the window's check box.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "events/event_kinds.h"
#include "events/event_table.h"

namespace vk {

struct tEventGroupInfo {
  EventCategory group;
  const char* key;    // for --kinds ("twilights")
  const char* label;  // for the window's check box ("Dämmerungen"), translated in context "EventGroups"
};
extern const std::array<tEventGroupInfo, kEventCategoryCount> Event_Groups;

// A set of groups, bit (1 << group).
using tGroupSet = std::uint32_t;
inline constexpr tGroupSet kAllGroups = (1u << kEventCategoryCount) - 1;
inline constexpr tGroupSet Group_Bit(EventCategory g) { return 1u << static_cast<int>(g); }
// What an export takes unless told otherwise: every group but the golden and
// blue hours' bounds, which are asked for by name.
inline constexpr tGroupSet kDefaultGroups = kAllGroups & ~Group_Bit(EventCategory::PhotoLight);

// The group of a stored event, by its body and event name. Returns: nothing
// for a name no kind has. Never fails.
inline std::optional<EventCategory> Group_Of(const tEventData& e) { return CategoryOf(e.body, e.event); }

// A comma-separated list of keys ("phases,seasons"). Returns: the set, or
// nothing when the list is empty or holds an unknown key (`bad` then names it).
std::optional<tGroupSet> Parse_Groups(std::string_view list, std::string* bad = nullptr);

}  // namespace vk
