// The table of event kinds: one row per kind, names unique, categories as the
// chart's filters and the calendar export group them.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "ephemeris/ephemeris_data.h"

#include "events/event_kinds.h"

namespace vk {
namespace {

TEST(EventKinds, RowsFollowTheEnumAndNamesAreUnique) {
  std::set<std::string_view> names;
  for (int i = 0; i < kEventKindCount; ++i) {
    const tEventKind& k = EventKinds[static_cast<std::size_t>(i)];
    EXPECT_EQ(static_cast<int>(k.kind), i) << k.name;
    EXPECT_TRUE(names.insert(k.name).second) << "twice: " << k.name;
    EXPECT_EQ(FindEventKind(k.name), k.kind) << k.name;
  }
  EXPECT_FALSE(FindEventKind("Aufgang "));
  EXPECT_FALSE(FindEventKind("aufgang"));
}

TEST(EventKinds, CategoriesAndChartTexts) {
  const struct {
    const char* body;
    const char* name;
    EventCategory category;
  } rows[] = {{"Sonne", "MAstrD", EventCategory::Twilight},       {"Sonne", "ABurgD", EventCategory::Twilight},
              {"Sonne", "Aufgang", EventCategory::SunRiseSet},     {"Mond", "Aufgang", EventCategory::BodyRiseSet},
              {"Neptun", "Untergang", EventCategory::BodyRiseSet}, {"Sonne", "wahrer Mittag", EventCategory::Transit},
              {"Mars", "im Meridian", EventCategory::Transit},     {"Mond", "Vollmond", EventCategory::MoonPhase},
              {"Sonne", "Herbstanfang (Äquator)", EventCategory::Season},
              {"Venus", "stationär, wird rückläufig", EventCategory::Configuration},
              {"Sonne", "Erde in Sonnenferne", EventCategory::Distance},
              {"Mond", "südlichste Deklination", EventCategory::Declination},
              {"Mond", "Mondfinsternis (Halbschatten)", EventCategory::Eclipse},
              {"Sonne", "Sonnenfinsternis (ringförmig)", EventCategory::Eclipse},
              {"Saturn", "vom Mond bedeckt", EventCategory::Eclipse},
              {"Mond", "bei Neptun", EventCategory::Configuration},
              {"Venus", "bei Merkur", EventCategory::Configuration}};
  for (const auto& r : rows) EXPECT_EQ(CategoryOf(r.body, r.name), r.category) << r.body << " " << r.name;
  EXPECT_FALSE(CategoryOf("Sonne", "Sonnenfinsternis"));
  // A close approach's kind names the other planet, on either side of the Moon in body order.
  for (const auto& [body, name] : {std::pair{Mercury, "bei Merkur"}, std::pair{Venus, "bei Venus"},
                                   std::pair{Mars, "bei Mars"}, std::pair{Neptune, "bei Neptun"}})
    EXPECT_EQ(EventName(ApproachKind(body)), name);
}

TEST(EventKinds, TextsInBothLanguages) {
  const struct {
    const char* name;
    const char* german;
    const char* english;
  } rows[] = {
      {"ANautD", "Abend: Ende der nautischen Dämmerung (Sonne unter -12°)",
       "Evening: nautical twilight ends (Sun below -12°)"},
      {"MBurgD", "Morgen: Beginn der bürgerlichen Dämmerung (Sonne über -6°)",
       "Morning: civil twilight begins (Sun above -6°)"},
      {"Aufgang", "Aufgang", "rises"},
      {"wahrer Mittag", "wahrer Mittag", "true noon"},
      {"in unterer Konjunktion zu Sonne", "in unterer Konjunktion zu Sonne", "in inferior conjunction with the Sun"},
      {"stationär, wird rechtläufig", "stationär, wird rechtläufig", "stationary, turning direct"},
      {"Erde in Sonnennähe", "Erde in Sonnennähe", "Earth at perihelion"},
      {"Vollmond", "Vollmond", "Full Moon"},
      {"Mondfinsternis (total)", "Mondfinsternis (total)", "Lunar eclipse (total)"},
      {"Sonnenfinsternis (partiell)", "Sonnenfinsternis (partiell)", "Solar eclipse (partial)"},
      {"vom Mond bedeckt", "vom Mond bedeckt", "occulted by the Moon"},
      {"bei Jupiter", "bei Jupiter", "near Jupiter"},
      {"etwas anderes", "etwas anderes", "etwas anderes"},  // no kind: the stored text as it is
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ChartText(r.name, Language::German), r.german) << r.name;
    EXPECT_EQ(ChartText(r.name, Language::English), r.english) << r.name;
  }
  // Every kind has its own English text, and none is left German.
  std::set<std::string_view> english;
  for (const tEventKind& k : EventKinds) {
    EXPECT_TRUE(english.insert(k.english).second) << "twice: " << k.english;
    for (const char* german : {"ä", "ö", "ü", "Sonne ", "Mond", "Dämmerung", "Anfang", "anfang"})
      EXPECT_EQ(k.english.find(german), std::string_view::npos) << k.english;
  }
  // The part of an eclipse the site sees; any other note as it is.
  const struct {
    const char* german;
    const char* english;
  } notes[] = {{"Sonne geht während der Finsternis unter", "the Sun sets during the eclipse"},
               {"Mond geht während der Finsternis auf", "the Moon rises during the eclipse"},
               {"Mond geht während der Finsternis auf und unter", "the Moon rises and sets during the eclipse"},
               {"NEP", "NEP"}};
  for (const auto& n : notes) {
    EXPECT_EQ(NoteText(n.german, Language::English), n.english);
    EXPECT_EQ(NoteText(n.german, Language::German), n.german);
  }
  const struct {
    const char* stored;
    const char* english;
  } bodies[] = {{"Sonne", "Sun"},      {"Merkur", "Mercury"}, {"Mond", "Moon"},   {"Neptun", "Neptune"},
                {"Jupiter", "Jupiter"}, {"Erde", "Erde"},      {"", ""},           {"sonne", "sonne"}};
  for (const auto& b : bodies) {
    EXPECT_EQ(BodyText(b.stored, Language::English), b.english) << b.stored;
    EXPECT_EQ(BodyText(b.stored, Language::German), b.stored) << b.stored;
  }
}

}  // namespace
}  // namespace vk
