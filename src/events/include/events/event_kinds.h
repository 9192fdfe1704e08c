// The kinds of event the computation writes: one table that the passes, the
// chart, its event list and the tools all read, so that a name exists once.
#pragma once
#include <array>
#include <optional>
#include <string_view>

#include "base/language.h"

namespace vk {

enum class EventKind : int {
  MAstrD, MNautD, MBurgD, ABurgD, ANautD, AAstrD,
  Aufgang, Untergang, WahrerMittag, ImMeridian,
  HelligkeitAbend, HelligkeitMorgen, ElongationOst, ElongationWest,
  UntereKonjunktion, ObereKonjunktion, Konjunktion, Opposition,
  WirdRuecklaeufig, WirdRechtlaeufig,
  Sonnennaehe, Sonnenferne, Erdnaehe, Erdferne,
  FruehlingEkliptik, FruehlingAequator, HerbstEkliptik, HerbstAequator,
  SommerEkliptik, SommerAequator, WinterEkliptik, WinterAequator,
  NoerdlichsteDeklination, SuedlichsteDeklination,
  Neumond, Vollmond, ErstesViertel, LetztesViertel,
  MondfinsternisHalbschatten, MondfinsternisPartiell, MondfinsternisTotal,
  SonnenfinsternisPartiell, SonnenfinsternisRingfoermig, SonnenfinsternisTotal,
  VomMondBedeckt,
  BeiMerkur, BeiVenus, BeiMars, BeiJupiter, BeiSaturn, BeiUranus, BeiNeptun,
  MGoldB, MGoldE, AGoldB, AGoldE,
};
inline constexpr int kEventKindCount = 56;

// Groups of kinds, as the chart's list filters and the calendar export use them.
enum class EventCategory : int {
  Twilight,        // the Sun's six twilight crossings
  SunRiseSet,      // sunrise and sunset
  BodyRiseSet,     // rise and set of the Moon and the planets
  Transit,         // true noon and meridian transits
  MoonPhase,       // new Moon, quarters, full Moon
  Season,          // equinoxes and solstices
  Configuration,   // conjunctions, oppositions, elongations, stations, brightness maxima, close approaches
  Distance,        // perigee, apogee, perihelion, aphelion
  Declination,     // northernmost and southernmost declination
  Eclipse,         // lunar and solar eclipses, occultations of the planets by the Moon
  PhotoLight,      // the Sun's crossings of -4° and +6°: golden and blue hour (not in the written log)
};
inline constexpr int kEventCategoryCount = 11;

struct tEventKind {
  EventKind kind;
  std::string_view name;       // as written in the event log ("Aufgang")
  EventCategory category;      // for the Sun's rise and set: BodyRiseSet (see CategoryOf)
  std::string_view chart_text; // what the chart's list writes in German; empty: the name itself
  std::string_view english;    // what it writes in English
  bool carries_values;         // the log line holds distance, angle, diameter or magnitude
};

extern const std::array<tEventKind, kEventKindCount> EventKinds;

// The table row of a kind. Never fails.
const tEventKind& KindInfo(EventKind kind);

// The log name of a kind ("wahrer Mittag"). Never fails.
inline std::string_view EventName(EventKind kind) { return KindInfo(kind).name; }

// The kind whose log name is `name`; empty for a name no kind has. Never fails.
std::optional<EventKind> FindEventKind(std::string_view name);

// The category of an event of `body` (as in the log, "Sonne" …) named `name`:
// rises and sets of the Sun count as SunRiseSet, of every other body as
// BodyRiseSet. Empty for a name no kind has. Never fails.
std::optional<EventCategory> CategoryOf(std::string_view body, std::string_view name);

// The text the chart, the day listing and the calendar write for an event
// named `name` in `language`: in German the spelt-out twilight or the name
// itself, in English its translation; a name no kind has stays as it is.
// Never fails.
std::string_view ChartText(std::string_view name, Language language);

// The kind of a close approach to the planet `body` ("bei Jupiter"); the
// Moon is always the nearer body of its approaches. Never fails for a planet.
EventKind ApproachKind(int body);

// The notes of eclipse lines, German and English: [0] the Sun, [1] the
// Moon; [0] rises, [1] sets, [2] rises and sets during the eclipse.
struct tEclipseNote {
  std::string_view german, english;
};
extern const std::array<std::array<tEclipseNote, 3>, 2> EclipseNotes;

// The note of an eclipse line (the part of it the site sees, "Sonne geht
// während der Finsternis unter") in `language`; any other note stays as it
// is. Never fails.
std::string_view NoteText(std::string_view note, Language language);

// The name of `body` (as in the log, "Sonne" …) in `language`; a name that is
// no body's stays as it is. Never fails.
std::string_view BodyText(std::string_view body, Language language);

}  // namespace vk
