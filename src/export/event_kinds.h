// The groups of events a calendar export can choose from.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "events/event_table.h"

namespace vk {

enum class EventKind : int {
  Twilights = 0,   // MAstrD … AAstrD
  SunRiseSet,      // Sonne Aufgang, Untergang
  RiseSet,         // Aufgang, Untergang of the Moon and the planets
  Transits,        // im Meridian, wahrer Mittag
  MoonPhases,      // Neumond, Erstes Viertel, Vollmond, Letztes Viertel
  Seasons,         // Frühlingsanfang … Winteranfang
  Configurations,  // conjunctions, oppositions, stations, elongations, greatest brightness
  Distances,       // Erdnähe, Erdferne, Sonnennähe, Sonnenferne
  Declinations,    // nördlichste, südlichste Deklination
};
inline constexpr int kEventKindCount = 9;

struct tEventKindInfo {
  EventKind kind;
  const char* key;    // for --kinds ("twilights")
  const char* label;  // for the window's check box ("Dämmerungen")
};
extern const std::array<tEventKindInfo, kEventKindCount> Event_Kinds;

// A set of kinds, bit (1 << kind).
using tKindSet = std::uint32_t;
inline constexpr tKindSet kAllKinds = (1u << kEventKindCount) - 1;
inline constexpr tKindSet Kind_Bit(EventKind k) { return 1u << static_cast<int>(k); }

// The group of a stored event, by its body and event name. Returns: nothing
// for a name no group holds.
std::optional<EventKind> Kind_Of(const tEventData& e);

// A comma-separated list of keys ("phases,seasons"). Returns: the set, or
// nothing when the list is empty or holds an unknown key (`bad` then names it).
std::optional<tKindSet> Parse_Kinds(std::string_view list, std::string* bad = nullptr);

}  // namespace vk
