#include "events/event_kinds.h"

#include "ephemeris/ephemeris_data.h"

#include <algorithm>

namespace vk {

using K = EventKind;
using C = EventCategory;

const std::array<tEventKind, kEventKindCount> EventKinds = {{
    {K::MAstrD, "MAstrD", C::Twilight, "Morgen: Beginn der astronomischen Dämmerung (Sonne über -18°)",
     "Morning: astronomical twilight begins (Sun above -18°)", false},
    {K::MNautD, "MNautD", C::Twilight, "Morgen: Beginn der nautischen Dämmerung (Sonne über -12°)",
     "Morning: nautical twilight begins (Sun above -12°)", false},
    {K::MBurgD, "MBurgD", C::Twilight, "Morgen: Beginn der bürgerlichen Dämmerung (Sonne über -6°)",
     "Morning: civil twilight begins (Sun above -6°)", false},
    {K::ABurgD, "ABurgD", C::Twilight, "Abend: Ende der bürgerlichen Dämmerung (Sonne unter -6°)",
     "Evening: civil twilight ends (Sun below -6°)", false},
    {K::ANautD, "ANautD", C::Twilight, "Abend: Ende der nautischen Dämmerung (Sonne unter -12°)",
     "Evening: nautical twilight ends (Sun below -12°)", false},
    {K::AAstrD, "AAstrD", C::Twilight, "Abend: Ende der astronomischen Dämmerung (Sonne unter -18°)",
     "Evening: astronomical twilight ends (Sun below -18°)", false},
    {K::Aufgang, "Aufgang", C::BodyRiseSet, {},
     "rises", true},
    {K::Untergang, "Untergang", C::BodyRiseSet, {},
     "sets", false},
    {K::WahrerMittag, "wahrer Mittag", C::Transit, {},
     "true noon", false},
    {K::ImMeridian, "im Meridian", C::Transit, {},
     "on the meridian", false},
    {K::HelligkeitAbend, "maximale Helligkeit (Abendhimmel)", C::Configuration, {},
     "greatest brilliancy (evening sky)", true},
    {K::HelligkeitMorgen, "maximale Helligkeit (Morgenhimmel)", C::Configuration, {},
     "greatest brilliancy (morning sky)", true},
    {K::ElongationOst, "maximale Elongation (östl.)", C::Configuration, {},
     "greatest elongation (east)", true},
    {K::ElongationWest, "maximale Elongation (westl.)", C::Configuration, {},
     "greatest elongation (west)", true},
    {K::UntereKonjunktion, "in unterer Konjunktion zu Sonne", C::Configuration, {},
     "in inferior conjunction with the Sun", true},
    {K::ObereKonjunktion, "in oberer Konjunktion zur Sonne", C::Configuration, {},
     "in superior conjunction with the Sun", true},
    {K::Konjunktion, "in Konjunktion zur Sonne", C::Configuration, {},
     "in conjunction with the Sun", true},
    {K::Opposition, "in Opposition zur Sonne", C::Configuration, {},
     "at opposition to the Sun", true},
    {K::WirdRuecklaeufig, "stationär, wird rückläufig", C::Configuration, {},
     "stationary, turning retrograde", true},
    {K::WirdRechtlaeufig, "stationär, wird rechtläufig", C::Configuration, {},
     "stationary, turning direct", true},
    {K::Sonnennaehe, "Erde in Sonnennähe", C::Distance, {},
     "Earth at perihelion", true},
    {K::Sonnenferne, "Erde in Sonnenferne", C::Distance, {},
     "Earth at aphelion", true},
    {K::Erdnaehe, "in Erdnähe", C::Distance, {},
     "at perigee", true},
    {K::Erdferne, "in Erdferne", C::Distance, {},
     "at apogee", true},
    {K::FruehlingEkliptik, "Frühlingsanfang (Ekliptik)", C::Season, {},
     "March equinox (ecliptic)", true},
    {K::FruehlingAequator, "Frühlingsanfang (Äquator)", C::Season, {},
     "March equinox (equator)", true},
    {K::HerbstEkliptik, "Herbstanfang (Ekliptik)", C::Season, {},
     "September equinox (ecliptic)", true},
    {K::HerbstAequator, "Herbstanfang (Äquator)", C::Season, {},
     "September equinox (equator)", true},
    {K::SommerEkliptik, "Sommeranfang (Ekliptik)", C::Season, {},
     "June solstice (ecliptic)", true},
    {K::SommerAequator, "Sommeranfang (Äquator)", C::Season, {},
     "June solstice (equator)", true},
    {K::WinterEkliptik, "Winteranfang (Ekliptik)", C::Season, {},
     "December solstice (ecliptic)", true},
    {K::WinterAequator, "Winteranfang (Äquator)", C::Season, {},
     "December solstice (equator)", true},
    {K::NoerdlichsteDeklination, "nördlichste Deklination", C::Declination, {},
     "northernmost declination", true},
    {K::SuedlichsteDeklination, "südlichste Deklination", C::Declination, {},
     "southernmost declination", true},
    {K::Neumond, "Neumond", C::MoonPhase, {},
     "New Moon", true},
    {K::Vollmond, "Vollmond", C::MoonPhase, {},
     "Full Moon", true},
    {K::ErstesViertel, "Erstes Viertel", C::MoonPhase, {},
     "First Quarter", true},
    {K::LetztesViertel, "Letztes Viertel", C::MoonPhase, {},
     "Last Quarter", true},
    // At greatest eclipse, the umbral magnitude in field 10 (the penumbral one for a penumbral eclipse).
    {K::MondfinsternisHalbschatten, "Mondfinsternis (Halbschatten)", C::Eclipse, {},
     "Lunar eclipse (penumbral)", true},
    {K::MondfinsternisPartiell, "Mondfinsternis (partiell)", C::Eclipse, {},
     "Lunar eclipse (partial)", true},
    {K::MondfinsternisTotal, "Mondfinsternis (total)", C::Eclipse, {},
     "Lunar eclipse (total)", true},
    // At the maximum at the site, the magnitude in field 10.
    {K::SonnenfinsternisPartiell, "Sonnenfinsternis (partiell)", C::Eclipse, {},
     "Solar eclipse (partial)", true},
    {K::SonnenfinsternisRingfoermig, "Sonnenfinsternis (ringförmig)", C::Eclipse, {},
     "Solar eclipse (annular)", true},
    {K::SonnenfinsternisTotal, "Sonnenfinsternis (total)", C::Eclipse, {},
     "Solar eclipse (total)", true},
    // The planet's disappearance at the Moon's limb.
    {K::VomMondBedeckt, "vom Mond bedeckt", C::Eclipse, {},
     "occulted by the Moon", false},
    // Conjunctions in ecliptic longitude, the separation in field 8.
    {K::BeiMerkur, "bei Merkur", C::Configuration, {}, "near Mercury", true},
    {K::BeiVenus, "bei Venus", C::Configuration, {}, "near Venus", true},
    {K::BeiMars, "bei Mars", C::Configuration, {}, "near Mars", true},
    {K::BeiJupiter, "bei Jupiter", C::Configuration, {}, "near Jupiter", true},
    {K::BeiSaturn, "bei Saturn", C::Configuration, {}, "near Saturn", true},
    {K::BeiUranus, "bei Uranus", C::Configuration, {}, "near Uranus", true},
    {K::BeiNeptun, "bei Neptun", C::Configuration, {}, "near Neptune", true},
    // Golden hour: the Sun's centre between -4° and +6°; blue hour: between -6° and -4°.
    {K::MGoldB, "MGoldB", C::PhotoLight,
     "Morgen: Ende der blauen, Beginn der goldenen Stunde (Sonne über -4°)",
     "Morning: blue hour ends, golden hour begins (Sun above -4°)", false},
    {K::MGoldE, "MGoldE", C::PhotoLight, "Morgen: Ende der goldenen Stunde (Sonne über +6°)",
     "Morning: golden hour ends (Sun above +6°)", false},
    {K::AGoldB, "AGoldB", C::PhotoLight, "Abend: Beginn der goldenen Stunde (Sonne unter +6°)",
     "Evening: golden hour begins (Sun below +6°)", false},
    {K::AGoldE, "AGoldE", C::PhotoLight,
     "Abend: Ende der goldenen, Beginn der blauen Stunde (Sonne unter -4°)",
     "Evening: golden hour ends, blue hour begins (Sun below -4°)", false},
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

std::string_view ChartText(std::string_view name, Language language) {
  const auto kind = FindEventKind(name);
  if (!kind) return name;
  const tEventKind& k = KindInfo(*kind);
  if (language == Language::English) return k.english;
  return k.chart_text.empty() ? name : k.chart_text;
}

EventKind ApproachKind(int body) {
  // Mercury and Venus come before the Moon in body order, the others after it.
  return static_cast<EventKind>(static_cast<int>(K::BeiMerkur) + body - (body < Moon ? 1 : 2));
}

const std::array<std::array<tEclipseNote, 3>, 2> EclipseNotes = {{
    {{{"Sonne geht während der Finsternis auf", "the Sun rises during the eclipse"},
      {"Sonne geht während der Finsternis unter", "the Sun sets during the eclipse"},
      {"Sonne geht während der Finsternis auf und unter", "the Sun rises and sets during the eclipse"}}},
    {{{"Mond geht während der Finsternis auf", "the Moon rises during the eclipse"},
      {"Mond geht während der Finsternis unter", "the Moon sets during the eclipse"},
      {"Mond geht während der Finsternis auf und unter", "the Moon rises and sets during the eclipse"}}},
}};

std::string_view NoteText(std::string_view note, Language language) {
  if (language == Language::German) return note;
  for (const auto& body : EclipseNotes)
    for (const tEclipseNote& n : body)
      if (note == n.german) return n.english;
  return note;
}

std::string_view BodyText(std::string_view body, Language language) {
  static constexpr std::array<std::string_view, kBodyCount> kEnglish = {
      "Sun", "Mercury", "Venus", "Moon", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"};
  if (language == Language::German) return body;
  const auto it = std::find(BodyNames.begin(), BodyNames.end(), body);
  return it == BodyNames.end() ? body : kEnglish[static_cast<std::size_t>(it - BodyNames.begin())];
}

}  // namespace vk
