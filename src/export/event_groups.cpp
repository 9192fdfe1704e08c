#include "export/event_groups.h"

namespace vk {

const std::array<tEventGroupInfo, kEventCategoryCount> Event_Groups = {{
    {EventCategory::Twilight, "twilights", "Dämmerungen"},
    {EventCategory::SunRiseSet, "sun", "Sonnenauf- und -untergang"},
    {EventCategory::BodyRiseSet, "risesets", "Auf- und Untergänge von Mond und Planeten"},
    {EventCategory::Transit, "transits", "Meridiandurchgänge"},
    {EventCategory::MoonPhase, "phases", "Mondphasen"},
    {EventCategory::Season, "seasons", "Jahreszeiten"},
    {EventCategory::Configuration, "configurations", "Planetenkonstellationen"},
    {EventCategory::Distance, "distances", "Erdnähe, Erdferne, Sonnennähe, Sonnenferne"},
    {EventCategory::Declination, "declinations", "Extreme der Deklination"},
}};

std::optional<tGroupSet> Parse_Groups(std::string_view list, std::string* bad) {
  tGroupSet set = 0;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view key = list.substr(0, comma);
    bool found = false;
    for (const tEventGroupInfo& k : Event_Groups)
      if (key == k.key) {
        set |= Group_Bit(k.group);
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
