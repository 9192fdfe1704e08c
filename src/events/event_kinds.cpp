#include "events/event_kinds.h"

#include "ephemeris/ephemeris_data.h"

namespace vk {

using K = EventKind;
using C = EventCategory;

const std::array<tEventKind, kEventKindCount> EventKinds = {{
    {K::MAstrD, "MAstrD", C::Twilight, "Morgen: Beginn der astronomischen Dämmerung (Sonne über -18°)", false},
    {K::MNautD, "MNautD", C::Twilight, "Morgen: Beginn der nautischen Dämmerung (Sonne über -12°)", false},
    {K::MBurgD, "MBurgD", C::Twilight, "Morgen: Beginn der bürgerlichen Dämmerung (Sonne über -6°)", false},
    {K::ABurgD, "ABurgD", C::Twilight, "Abend: Ende der bürgerlichen Dämmerung (Sonne unter -6°)", false},
    {K::ANautD, "ANautD", C::Twilight, "Abend: Ende der nautischen Dämmerung (Sonne unter -12°)", false},
    {K::AAstrD, "AAstrD", C::Twilight, "Abend: Ende der astronomischen Dämmerung (Sonne unter -18°)", false},
    {K::Aufgang, "Aufgang", C::BodyRiseSet, {}, true},
    {K::Untergang, "Untergang", C::BodyRiseSet, {}, false},
    {K::WahrerMittag, "wahrer Mittag", C::Transit, {}, false},
    {K::ImMeridian, "im Meridian", C::Transit, {}, false},
    {K::HelligkeitAbend, "maximale Helligkeit (Abendhimmel)", C::Configuration, {}, true},
    {K::HelligkeitMorgen, "maximale Helligkeit (Morgenhimmel)", C::Configuration, {}, true},
    {K::ElongationOst, "maximale Elongation (östl.)", C::Configuration, {}, true},
    {K::ElongationWest, "maximale Elongation (westl.)", C::Configuration, {}, true},
    {K::UntereKonjunktion, "in unterer Konjunktion zu Sonne", C::Configuration, {}, true},
    {K::ObereKonjunktion, "in oberer Konjunktion zur Sonne", C::Configuration, {}, true},
    {K::Konjunktion, "in Konjunktion zur Sonne", C::Configuration, {}, true},
    {K::Opposition, "in Opposition zur Sonne", C::Configuration, {}, true},
    {K::WirdRuecklaeufig, "stationär, wird rückläufig", C::Configuration, {}, true},
    {K::WirdRechtlaeufig, "stationär, wird rechtläufig", C::Configuration, {}, true},
    {K::Sonnennaehe, "Erde in Sonnennähe", C::Distance, {}, true},
    {K::Sonnenferne, "Erde in Sonnenferne", C::Distance, {}, true},
    {K::Erdnaehe, "in Erdnähe", C::Distance, {}, true},
    {K::Erdferne, "in Erdferne", C::Distance, {}, true},
    {K::FruehlingEkliptik, "Frühlingsanfang (Ekliptik)", C::Season, {}, true},
    {K::FruehlingAequator, "Frühlingsanfang (Äquator)", C::Season, {}, true},
    {K::HerbstEkliptik, "Herbstanfang (Ekliptik)", C::Season, {}, true},
    {K::HerbstAequator, "Herbstanfang (Äquator)", C::Season, {}, true},
    {K::SommerEkliptik, "Sommeranfang (Ekliptik)", C::Season, {}, true},
    {K::SommerAequator, "Sommeranfang (Äquator)", C::Season, {}, true},
    {K::WinterEkliptik, "Winteranfang (Ekliptik)", C::Season, {}, true},
    {K::WinterAequator, "Winteranfang (Äquator)", C::Season, {}, true},
    {K::NoerdlichsteDeklination, "nördlichste Deklination", C::Declination, {}, true},
    {K::SuedlichsteDeklination, "südlichste Deklination", C::Declination, {}, true},
    {K::Neumond, "Neumond", C::MoonPhase, {}, true},
    {K::Vollmond, "Vollmond", C::MoonPhase, {}, true},
    {K::ErstesViertel, "Erstes Viertel", C::MoonPhase, {}, true},
    {K::LetztesViertel, "Letztes Viertel", C::MoonPhase, {}, true},
}};

const tEventKind& KindInfo(EventKind kind) { return EventKinds[static_cast<std::size_t>(kind)]; }

std::optional<EventKind> FindEventKind(std::string_view name) {
  for (const tEventKind& k : EventKinds)
    if (k.name == name) return k.kind;
  return std::nullopt;
}

std::optional<EventCategory> CategoryOf(std::string_view body, std::string_view name) {
  const auto kind = FindEventKind(name);
  if (!kind) return std::nullopt;
  const EventCategory c = KindInfo(*kind).category;
  return c == C::BodyRiseSet && body == BodyNames[Sun] ? C::SunRiseSet : c;
}

std::string_view ChartText(std::string_view name) {
  const auto kind = FindEventKind(name);
  if (kind && !KindInfo(*kind).chart_text.empty()) return KindInfo(*kind).chart_text;
  return name;
}

}  // namespace vk
