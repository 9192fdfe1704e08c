// The town list: its rows, its merging with the zone table's places, and the
// search over both (names, German names, words, close matches, first start).
#include <gtest/gtest.h>

#include <set>

#include "base/error.h"
#include "support/temp_dir.h"
#include "timecalc/places.h"

namespace vk {
namespace {

const char kZones[] =
    "AT\t+4813+01620\tEurope/Vienna\n"
    "US\t+404251-0740023\tAmerica/New_York\tEastern (most areas)\n"
    "CH,DE,LI\t+4723+00832\tEurope/Zurich\n"
    "DE\t+5230+01322\tEurope/Berlin\n";

const char kTowns[] =
    "# name\tgerman\tcountry\tregion\tlat\tlon\tzone\n"
    "Vienna\tWien\tAT\t\t48.2000\t16.3667\tEurope/Vienna\n"
    "New York City\t\tUS\tNew York\t40.7143\t-74.0060\tAmerica/New_York\n"
    "New York Mills\t\tUS\tNew York\t43.1053\t-75.2913\tAmerica/New_York\n"
    "Berlin\t\tUS\tNew Hampshire\t44.4687\t-71.1851\tAmerica/New_York\n"
    "Munich\tMünchen\tDE\tBavaria\t48.1500\t11.5833\tEurope/Berlin\n"
    "Hamburg\t\tDE\tHamburg\t53.5500\t10.0000\tEurope/Berlin\n"
    "Zürich\t\tCH\t\t47.3667\t8.5500\tEurope/Zurich\n"
    "Springfield\t\tUS\tIllinois\t39.8\t-89.6\tAmerica/Chicago\n"
    "Springfield\t\tUS\tMissouri\t37.2\t-93.3\tAmerica/Chicago\n"
    "Springfield\t\tUS\tMissouri\t37.3\t-93.2\tAmerica/Chicago\n"
    "Köln\t\tDE\t\t50.9333\t6.9500\tEurope/Berlin\n"
    "York\t\tGB\tEngland\t53.9600\t-1.0800\tEurope/London\n"
    "Münden\t\tDE\tLower Saxony\t51.4167\t9.6500\tEurope/Berlin\n";

std::vector<Place> Merged() { return MergePlaces(ParsePlaces(kZones).places, ParseTownList(kTowns).places); }

TEST(TownList, MergingKeepsTheZonePlacesAndAddsTheirOtherNames) {
  const std::vector<Place> all = Merged();
  const struct {
    const char* display;
    double lat, lon;  // the zone table's where a town was merged into its place
    bool principal;
  } rows[] = {
      {"Wien (Vienna) \u2014 Europe/Vienna", 48 + 13 / 60.0, 16 + 20 / 60.0, true},
      {"New York \u2014 America/New_York", 40 + 42 / 60.0 + 51 / 3600.0, -(74 + 23 / 3600.0), true},
      {"Zurich \u2014 Europe/Zurich", 47 + 23 / 60.0, 8 + 32 / 60.0, true},
      {"Berlin \u2014 Europe/Berlin", 52.5, 13 + 22 / 60.0, true},
      {"New York Mills \u2014 America/New_York", 43.1053, -75.2913, false},  // 290 km away: a town of its own
      {"Berlin \u2014 America/New_York", 44.4687, -71.1851, false},          // another zone
      {"München (Munich) \u2014 Europe/Berlin", 48.15, 11.5833, false},
      {"Hamburg \u2014 Europe/Berlin", 53.55, 10.0, false},
      {"Springfield, Illinois \u2014 America/Chicago", 39.8, -89.6, false},
      {"Springfield, Missouri \u2014 America/Chicago", 37.2, -93.3, false},  // its twin dropped
      {"Köln \u2014 Europe/Berlin", 50.9333, 6.95, false},
      {"York \u2014 Europe/London", 53.96, -1.08, false},
      {"Münden \u2014 Europe/Berlin", 51.4167, 9.65, false},
  };
  ASSERT_EQ(all.size(), std::size(rows));
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].display, rows[i].display) << i;
    EXPECT_NEAR(all[i].lat, rows[i].lat, 1e-9) << rows[i].display;
    EXPECT_NEAR(all[i].lon, rows[i].lon, 1e-9) << rows[i].display;
    EXPECT_EQ(all[i].principal, rows[i].principal) << rows[i].display;
  }
  EXPECT_EQ(all[1].names, (std::vector<std::string>{"New York", "New York City"}));
  EXPECT_EQ(all[0].country, "AT");
}

TEST(TownList, NamesChooseTheirPlaceWhateverCaseAndAccents) {
  const std::vector<Place> all = Merged();
  const struct {
    const char* text;
    const char* display;  // nullptr: none chosen
  } cases[] = {
      {"Wien", "Wien (Vienna) \u2014 Europe/Vienna"},
      {"wien", "Wien (Vienna) \u2014 Europe/Vienna"},
      {"Vienna", "Wien (Vienna) \u2014 Europe/Vienna"},
      {"München", "München (Munich) \u2014 Europe/Berlin"},
      {"Munchen", "München (Munich) \u2014 Europe/Berlin"},
      {"MÜNCHEN", "München (Munich) \u2014 Europe/Berlin"},
      {"Hamburg", "Hamburg \u2014 Europe/Berlin"},
      {"Berlin", "Berlin \u2014 Europe/Berlin"},  // the zone's place before the town of the same name
      {"Berlin \u2014 America/New_York", "Berlin \u2014 America/New_York"},
      {"Koln", "Köln \u2014 Europe/Berlin"},
      {"new york city", "New York \u2014 America/New_York"},
      {"Zürich", "Zurich \u2014 Europe/Zurich"},
      {"Springfield", "Springfield, Illinois \u2014 America/Chicago"},  // the first of the name
      {"Hamburk", nullptr},
  };
  for (const auto& c : cases) {
    const Place* p = ChoosePlace(all, c.text);
    EXPECT_EQ(p ? p->display : std::string("(none)"), c.display ? c.display : "(none)") << c.text;
  }
}

TEST(TownList, SearchRanksWholeNamesThenPrefixesThenWords) {
  const std::vector<Place> all = Merged();
  const struct {
    const char* text;
    std::vector<std::string> cities;  // in the order found
  } cases[] = {
      // The whole name, then a word of a name; not the zone (Berlin, New Hampshire).
      {"York", {"York", "New York", "New York Mills"}},
      {"rli", {"Berlin", "Berlin"}},
      {"new york", {"New York", "New York Mills"}},
      {"new_york", {"New York", "New York Mills"}},
      {"mun", {"Munich", "Münden"}},  // the German name's start
      {"hamb", {"Hamburg"}},
      {"berlin", {"Berlin", "Berlin"}},
      {"america/new", {"New York", "New York Mills", "Berlin"}},  // no name holds it: the zone
      {"burg", {"Hamburg"}},     // inside a word only
      {"europe/berlin", {"Berlin", "Munich", "Hamburg", "Köln", "Münden"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    for (const Place* p : FindPlaces(all, c.text)) got.push_back(p->city);
    EXPECT_EQ(got, c.cities) << c.text;
  }
}

TEST(TownList, CloseMatchesShareMostLettersOrAPrefix) {
  const std::vector<Place> all = Merged();
  const struct {
    const char* text;
    const char* first;  // the first suggestion's city
  } cases[] = {
      {"Hamburk", "Hamburg"},
      {"Hanburg", "Hamburg"},
      {"Muenchen", "Munich"},
      {"Münchem", "Munich"},  // by its German name, though Münden is nearer to its English one
      {"Wienn", "Vienna"},
      {"Zuerich", "Zurich"},
      {"Springfeld", "Springfield"},
      {"Kolnx", "Köln"},
      {"New Yrok Mi", "New York Mills"},  // the start of a long name
  };
  for (const auto& c : cases) {
    const auto close = ClosePlaces(all, c.text);
    ASSERT_EQ(close.size(), 5u) << c.text;
    EXPECT_EQ(close.front()->city, c.first) << c.text;
  }
  EXPECT_EQ(ClosePlaces(all, "x", 100).size(), all.size());
}

TEST(TownList, FirstStartTakesThePlaceOfTheSystemsZone) {
  const std::vector<Place> all = Merged();
  const struct {
    const char* zone;
    const char* display;  // nullptr: the documented site
  } cases[] = {
      {"America/New_York", "New York \u2014 America/New_York"},
      {"Europe/Vienna", "Wien (Vienna) \u2014 Europe/Vienna"},
      {"Europe/Berlin", "Berlin \u2014 Europe/Berlin"},
      {"Europe/Zurich", nullptr},
      {"", nullptr},
      {"Etc/UTC", nullptr},
      {"CET-1CEST", nullptr},
      {"America/Chicago", nullptr},  // towns only, no place of the zone table
  };
  for (const auto& c : cases) {
    const Place* p = FirstStartPlace(all, c.zone);
    EXPECT_EQ(p ? p->display : std::string("(none)"), c.display ? c.display : "(none)") << c.zone;
  }
}

TEST(TownList, BadRowsAreSkippedWithAWarningAndDamageIsAnError) {
  const struct {
    const char* row;
    const char* warning;  // what follows "places.tsv line 2 skipped: "
  } rows[] = {
      {"Wien\tAT\t48.2\t16.37\tEurope/Vienna", "5 fields instead of 7"},
      {"\t\tAT\t\t48.2\t16.37\tEurope/Vienna", "no name"},
      {"Wien\t\tAT\t\tnorth\t16.37\tEurope/Vienna", "coordinates 'north' '16.37' malformed"},
      {"Wien\t\tAT\t\t91\t16.37\tEurope/Vienna", "coordinates '91' '16.37' malformed"},
      {"Wien\t\tAT\t\t48.2\t-180.5\tEurope/Vienna", "coordinates '48.2' '-180.5' malformed"},
      {"Wien\t\tAT\t\t48.2\t16.37\t../../etc/passwd", "zone name '../../etc/passwd' malformed"},
      {"Wien\t\tAT\t\t48.2\t16.37\t", "zone name '' malformed"},
  };
  for (const auto& r : rows) {
    const PlaceList l = ParseTownList(std::string("Graz\t\tAT\t\t47.07\t15.45\tEurope/Vienna\n") + r.row + "\n");
    ASSERT_EQ(l.places.size(), 1u) << r.row;
    ASSERT_EQ(l.warnings.size(), 1u) << r.row;
    EXPECT_EQ(l.warnings[0], std::string("places.tsv line 2 skipped: ") + r.warning);
  }
  const struct {
    std::string text;
    const char* error;
    const char* file;
  } damaged[] = {
      {"Graz\t\tAT\t\t47.07\t15.45\tEurope/Vienna\x1b[2J\n", "Damaged table: control character in 'Graz\\t\\tAT\\t\\t47.07\\t15.45\\tEurope/Vienna\\x1B[2J'", "t, line 1"},
      {"# comments only\n", "Damaged table: no place in it", "t"},
      {"Wien\tAT\n", "Damaged table: no place in it", "t"},
  };
  for (const auto& d : damaged) {
    try {
      ParseTownList(d.text, "t");
      ADD_FAILURE() << d.error << ": read";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), std::string(d.error));
      EXPECT_EQ(e.file(), d.file);
    }
  }
}

TEST(TownList, AMissingOrDamagedListLeavesTheZonePlacesWithAWarning) {
  test::TempDir dir;
  test::WriteFile(dir / "zone1970.tab", kZones);
  test::WriteFile(dir / "good.tsv", kTowns);
  test::WriteFile(dir / "bad.tsv", "# nothing\n");
  const struct {
    std::filesystem::path list;
    std::size_t places;
    const char* warning;  // part of the one warning; nullptr: none
  } cases[] = {
      {dir / "good.tsv", 13, nullptr},
      {{}, 4, "no town list places.tsv"},
      {dir / "missing.tsv", 4, "File not found"},
      {dir / "bad.tsv", 4, "Damaged table: no place in it"},
      {dir.path(), 4, "town list"},  // a folder
  };
  for (const auto& c : cases) {
    const PlaceList l = ReadPlaces(dir.path(), c.list);
    EXPECT_EQ(l.places.size(), c.places) << c.list;
    if (!c.warning) {
      EXPECT_TRUE(l.warnings.empty()) << c.list;
      continue;
    }
    ASSERT_EQ(l.warnings.size(), 1u) << c.list;
    EXPECT_NE(l.warnings[0].find(c.warning), std::string::npos) << l.warnings[0];
  }
  EXPECT_THROW(ReadPlaces(dir / "no-zones", dir / "good.tsv"), Error);
}

TEST(TownList, FoundBesideTheProgram) {
  test::TempDir dir;
  test::WriteFile(dir / "build/bin/prog", "");
  test::WriteFile(dir / "build/data/places.tsv", kTowns);
  test::WriteFile(dir / "usr/bin/prog", "");
  test::WriteFile(dir / "usr/share/vesperkalend/places.tsv", kTowns);
  test::WriteFile(dir / "bare/bin/prog", "");
  EXPECT_EQ(FindTownList(dir / "build/bin/prog"), (dir / "build/data/places.tsv").lexically_normal());
  EXPECT_EQ(FindTownList(dir / "usr/bin/prog"), (dir / "usr/share/vesperkalend/places.tsv").lexically_normal());
  EXPECT_EQ(FindTownList(dir / "bare/bin/prog"), std::filesystem::path());
  EXPECT_EQ(FindTownList({}), std::filesystem::path());
}

// The shipped list with the system's zone table: the names users type.
TEST(TownList, ShippedListFindsTheTownsUsersType) {
  const std::filesystem::path zones = "/usr/share/zoneinfo";
  if (!std::filesystem::exists(zones / "zone1970.tab")) GTEST_SKIP() << "no tz database";
  const PlaceList l = ReadPlaces(zones, VK_TOWN_LIST);
  EXPECT_TRUE(l.warnings.empty()) << l.warnings.front();
  EXPECT_GT(l.places.size(), 7000u);
  const struct {
    const char* text;
    const char* zone;
    const char* country;
  } cases[] = {
      {"Wien", "Europe/Vienna", "AT"},         {"wien", "Europe/Vienna", "AT"},
      {"München", "Europe/Berlin", "DE"},      {"Munchen", "Europe/Berlin", "DE"},
      {"Hamburg", "Europe/Berlin", "DE"},      {"Köln", "Europe/Berlin", "DE"},
      {"Düsseldorf", "Europe/Berlin", "DE"},   {"Genf", "Europe/Zurich", "CH"},
      {"New York", "America/New_York", "US"},  {"Berlin", "Europe/Berlin", "DE"},
  };
  for (const auto& c : cases) {
    const Place* p = ChoosePlace(l.places, c.text);
    ASSERT_NE(p, nullptr) << c.text;
    EXPECT_EQ(p->zone, c.zone) << c.text;
    EXPECT_EQ(p->country, c.country) << c.text;
  }
  // The zone's own place keeps the site it always had.
  const Place* berlin = ChoosePlace(l.places, "Berlin");
  EXPECT_EQ(berlin->display, "Berlin \u2014 Europe/Berlin");
  EXPECT_NEAR(berlin->lat, 52.5, 1e-9);
  EXPECT_EQ(ClosePlaces(l.places, "Hamburk").front()->display, "Hamburg \u2014 Europe/Berlin");
  bool new_york = false;
  for (const Place* p : FindPlaces(l.places, "York")) new_york |= p->display == "New York \u2014 America/New_York";
  EXPECT_TRUE(new_york);
  EXPECT_EQ(FirstStartPlace(l.places, "America/New_York")->display, "New York \u2014 America/New_York");
  // Every display text is one place's.
  std::set<std::string> displays;
  for (const Place& p : l.places) EXPECT_TRUE(displays.insert(p.display).second) << p.display;
}

}  // namespace
}  // namespace vk
