#include "export/event_kinds.h"

namespace vk {

const std::array<tEventKindInfo, kEventKindCount> Event_Kinds = {{
    {EventKind::Twilights, "twilights", "Dämmerungen"},
    {EventKind::SunRiseSet, "sun", "Sonnenauf- und -untergang"},
    {EventKind::RiseSet, "risesets", "Auf- und Untergänge von Mond und Planeten"},
    {EventKind::Transits, "transits", "Meridiandurchgänge"},
    {EventKind::MoonPhases, "phases", "Mondphasen"},
    {EventKind::Seasons, "seasons", "Jahreszeiten"},
    {EventKind::Configurations, "configurations", "Planetenkonstellationen"},
    {EventKind::Distances, "distances", "Erdnähe, Erdferne, Sonnennähe, Sonnenferne"},
    {EventKind::Declinations, "declinations", "Extreme der Deklination"},
}};

namespace {

struct tNameKind {
  std::string_view prefix;  // the event name, or its beginning
  EventKind kind;
};

// Event names by group; a name matches when it begins with the prefix.
constexpr std::array<tNameKind, 26> kNames = {{
    {"MAstrD", EventKind::Twilights},
    {"MNautD", EventKind::Twilights},
    {"MBurgD", EventKind::Twilights},
    {"ABurgD", EventKind::Twilights},
    {"ANautD", EventKind::Twilights},
    {"AAstrD", EventKind::Twilights},
    {"im Meridian", EventKind::Transits},
    {"wahrer Mittag", EventKind::Transits},
    {"Neumond", EventKind::MoonPhases},
    {"Erstes Viertel", EventKind::MoonPhases},
    {"Vollmond", EventKind::MoonPhases},
    {"Letztes Viertel", EventKind::MoonPhases},
    {"Frühlingsanfang", EventKind::Seasons},
    {"Sommeranfang", EventKind::Seasons},
    {"Herbstanfang", EventKind::Seasons},
    {"Winteranfang", EventKind::Seasons},
    {"in Konjunktion", EventKind::Configurations},
    {"in oberer Konjunktion", EventKind::Configurations},
    {"in unterer Konjunktion", EventKind::Configurations},
    {"in Opposition", EventKind::Configurations},
    {"stationär", EventKind::Configurations},
    {"maximale", EventKind::Configurations},
    {"in Erd", EventKind::Distances},
    {"Erde in Sonnen", EventKind::Distances},
    {"nördlichste Deklination", EventKind::Declinations},
    {"südlichste Deklination", EventKind::Declinations},
}};

}  // namespace

std::optional<EventKind> Kind_Of(const tEventData& e) {
  if (e.event == "Aufgang" || e.event == "Untergang")
    return e.body == "Sonne" ? EventKind::SunRiseSet : EventKind::RiseSet;
  for (const tNameKind& n : kNames)
    if (e.event.starts_with(n.prefix)) return n.kind;
  return std::nullopt;
}

std::optional<tKindSet> Parse_Kinds(std::string_view list, std::string* bad) {
  tKindSet set = 0;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view key = list.substr(0, comma);
    bool found = false;
    for (const tEventKindInfo& k : Event_Kinds)
      if (key == k.key) {
        set |= Kind_Bit(k.kind);
        found = true;
      }
    if (!found) {
      if (bad != nullptr) *bad = std::string(key);
      return std::nullopt;
    }
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return set;
}

}  // namespace vk
