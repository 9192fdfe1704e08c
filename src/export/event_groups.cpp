#include "export/event_groups.h"

#include <QtGlobal>

namespace vk {

const std::array<tEventGroupInfo, kEventCategoryCount> Event_Groups = {{
    {EventCategory::Twilight, "twilights", QT_TRANSLATE_NOOP("EventGroups", "Dämmerungen")},
    {EventCategory::SunRiseSet, "sun", QT_TRANSLATE_NOOP("EventGroups", "Sonnenauf- und -untergang")},
    {EventCategory::BodyRiseSet, "risesets", QT_TRANSLATE_NOOP("EventGroups", "Auf- und Untergänge von Mond und Planeten")},
    {EventCategory::Transit, "transits", QT_TRANSLATE_NOOP("EventGroups", "Meridiandurchgänge")},
    {EventCategory::MoonPhase, "phases", QT_TRANSLATE_NOOP("EventGroups", "Mondphasen")},
    {EventCategory::Season, "seasons", QT_TRANSLATE_NOOP("EventGroups", "Jahreszeiten")},
    {EventCategory::Configuration, "configurations", QT_TRANSLATE_NOOP("EventGroups", "Planetenkonstellationen")},
    {EventCategory::Distance, "distances", QT_TRANSLATE_NOOP("EventGroups", "Erdnähe, Erdferne, Sonnennähe, Sonnenferne")},
    {EventCategory::Declination, "declinations", QT_TRANSLATE_NOOP("EventGroups", "Extreme der Deklination")},
    {EventCategory::Eclipse, "eclipses", QT_TRANSLATE_NOOP("EventGroups", "Finsternisse und Bedeckungen")},
    {EventCategory::PhotoLight, "fotolicht", QT_TRANSLATE_NOOP("EventGroups", "Goldene und blaue Stunde")},
}};

bool Equator_Season(const tEventData& e) {
  const auto kind = FindEventKind(e.event);
  return kind == EventKind::FruehlingAequator || kind == EventKind::SommerAequator || kind == EventKind::HerbstAequator ||
         kind == EventKind::WinterAequator;
}

std::optional<tGroupSet> Parse_Groups(std::string_view list, std::string* bad) {
  tGroupSet set = 0;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view key = list.substr(0, comma);
    bool found = key == "all";
    if (found) set = kAllGroups;
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
