// The table of event kinds: one row per kind, names unique, categories as the
// chart's filters and the calendar export group them.
#include <gtest/gtest.h>

#include <set>
#include <string>

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
              {"Mond", "südlichste Deklination", EventCategory::Declination}};
  for (const auto& r : rows) EXPECT_EQ(CategoryOf(r.body, r.name), r.category) << r.body << " " << r.name;
  EXPECT_FALSE(CategoryOf("Sonne", "Sonnenfinsternis"));
  EXPECT_EQ(ChartText("ANautD"), "Abend: Ende der nautischen Dämmerung (Sonne unter -12°)");
  EXPECT_EQ(ChartText("Vollmond"), "Vollmond");
  EXPECT_EQ(ChartText("etwas anderes"), "etwas anderes");
}

}  // namespace
}  // namespace vk
