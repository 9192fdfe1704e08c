// The zone table's places: parsing, damaged lines, search and close matches.
#include <gtest/gtest.h>

#include "base/error.h"
#include "timecalc/places.h"

namespace vk {
namespace {

// Rows written out by hand from the table's format: codes, ±DDMM[SS]±DDDMM[SS], zone, comment.
const char kTable[] =
    "# tzdb timezone descriptions\n"
    "#codes\tcoordinates\tTZ\tcomments\n"
    "AU\t-3352+15113\tAustralia/Sydney\tNew South Wales (most areas)\n"
    "CH,DE,LI\t+4723+00832\tEurope/Zurich\tBüsingen\n"
    "US\t+404251-0740023\tAmerica/New_York\tEastern (most areas)\n"
    "AR\t-3436-05827\tAmerica/Argentina/Buenos_Aires\tBuenos Aires (BA, CF)\n"
    "DE\t+5230+01322\tEurope/Berlin\n";

TEST(Places, RowsGiveCityZoneAndCoordinates) {
  const PlaceList l = ParsePlaces(kTable);
  ASSERT_EQ(l.places.size(), 5u);
  EXPECT_TRUE(l.warnings.empty());
  struct Row {
    const char* display;
    double lat, lon;
  };
  const Row rows[] = {{"Sydney \u2014 Australia/Sydney", -(33 + 52 / 60.0), 151 + 13 / 60.0},
                      {"Zurich \u2014 Europe/Zurich", 47 + 23 / 60.0, 8 + 32 / 60.0},
                      {"New York \u2014 America/New_York", 40 + 42 / 60.0 + 51 / 3600.0, -(74 + 0 / 60.0 + 23 / 3600.0)},
                      {"Buenos Aires \u2014 America/Argentina/Buenos_Aires", -(34 + 36 / 60.0), -(58 + 27 / 60.0)},
                      {"Berlin \u2014 Europe/Berlin", 52.5, 13 + 22 / 60.0}};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(l.places[i].display, rows[i].display);
    EXPECT_NEAR(l.places[i].lat, rows[i].lat, 1e-12) << i;
    EXPECT_NEAR(l.places[i].lon, rows[i].lon, 1e-12) << i;
  }
}

TEST(Places, DamagedLinesAreSkippedWithAWarningAndTheRestKept) {
  const std::string damaged = std::string(kTable) +
                              "FR\t+4852+00220\n"               // truncated: no zone
                              "XX\t+4852x00220\tEurope/Paris\n"  // bad coordinates
                              "XX\t+9152+00220\tEurope/Paris\n"  // latitude beyond 90
                              "XX\t+4862+00220\tEurope/Paris\n"  // 62 minutes
                              "XX\t+4852+00220\t../../etc/passwd\n"
                              "JP\t+353916+1394441\tAsia/Tokyo";  // last line without a newline: kept
  const PlaceList l = ParsePlaces(damaged);
  ASSERT_EQ(l.places.size(), 6u);
  EXPECT_EQ(l.places.back().zone, "Asia/Tokyo");
  ASSERT_EQ(l.warnings.size(), 5u);
  EXPECT_EQ(l.warnings[0], "zone1970.tab line 8 skipped: fewer than three fields");
  EXPECT_NE(l.warnings[1].find("line 9 skipped: coordinates '+4852x00220' malformed"), std::string::npos);
  EXPECT_NE(l.warnings[4].find("zone name '../../etc/passwd'"), std::string::npos);
}

TEST(Places, SearchFindsAnywhereIgnoringCaseAndAccents) {
  const PlaceList l = ParsePlaces(kTable);
  struct Query {
    const char* text;
    std::vector<std::string> zones;
  };
  const Query queries[] = {
      {"sydn", {"Australia/Sydney"}},
      {"zürich", {"Europe/Zurich"}},
      {"ZURICH", {"Europe/Zurich"}},
      {"Zürich", {"Europe/Zurich"}},
      {"york", {"America/New_York"}},
      {"new york", {"America/New_York"}},
      {"new_york", {"America/New_York"}},
      {"europe", {"Europe/Zurich", "Europe/Berlin"}},
      {"res", {"America/Argentina/Buenos_Aires"}},
      {"xyz", {}},
  };
  for (const Query& q : queries) {
    std::vector<std::string> got;
    for (const Place* p : FindPlaces(l.places, q.text)) got.push_back(p->zone);
    EXPECT_EQ(got, q.zones) << q.text;
  }
  EXPECT_EQ(FindPlaces(l.places, "").size(), 5u);
  EXPECT_EQ(FoldForSearch("ÄÖÜ äöü ß Ñ ç"), "aou aou ss n c");
}

TEST(Places, ChoosingByNameAndCloseMatches) {
  const PlaceList l = ParsePlaces(kTable);
  const auto zone = [&](const char* text) {
    const Place* p = ChoosePlace(l.places, text);
    return p ? p->zone : std::string("(none)");
  };
  EXPECT_EQ(zone("Sydney"), "Australia/Sydney");
  EXPECT_EQ(zone("zürich"), "Europe/Zurich");
  EXPECT_EQ(zone("europe/berlin"), "Europe/Berlin");
  EXPECT_EQ(zone("sydn"), "Australia/Sydney");
  EXPECT_EQ(ChoosePlace(l.places, "Europe"), nullptr);  // two fit
  EXPECT_EQ(ChoosePlace(l.places, "Sidney"), nullptr);
  EXPECT_EQ(ChoosePlace(l.places, ""), nullptr);
  const std::vector<std::string> zones = {"Australia/Sydney", "Europe/Zurich", "America/New_York", "Europe/Berlin"};
  EXPECT_EQ(CloseMatches(zones, "Sidney", 1), std::vector<std::string>{"Australia/Sydney"});
  EXPECT_EQ(CloseMatches(zones, "Europe/Berln", 1), std::vector<std::string>{"Europe/Berlin"});
  EXPECT_EQ(CloseMatches(zones, "Berlin").size(), 4u);
}

TEST(Places, MissingTableIsAnError) {
  EXPECT_THROW(ReadPlaces("/nonexistent-tz-dir"), Error);
}

// A table that is no text (a control character in a line) or gives no place
// is damaged, named with its line; a huge or hostile field is quoted short
// and printable; many bad lines give ten warnings and a count; a long search
// text counts with its first 64 bytes only.
TEST(Places, DamagedTablesAndHugeFields) {
  const struct Case {
    std::string text;
    const char* error;  // nullptr: read
    const char* file;
  } cases[] = {
      {std::string(kTable) + "XX\t+4852+00220\tEurope/Paris\x1b]0;title\x07\n", "Damaged table: control character in 'XX\\t+4852+00220\\tEurope/Paris\\x1B]0;title\\x07'", "t, line 8"},
      {std::string(kTable) + std::string("\0\0\0", 3), "Damaged table: control character in '\\x00\\x00\\x00'", "t, line 8"},
      {"# only comments\n\n", "Damaged table: no place in it", "t"},
      {"XX\t+4852x00220\tEurope/Paris\n", "Damaged table: no place in it", "t"},
      {"", "Damaged table: no place in it", "t"},
  };
  for (const Case& c : cases) {
    try {
      ParsePlaces(c.text, "t");
      ADD_FAILURE() << c.error << ": read";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), std::string(c.error));
      EXPECT_EQ(e.file(), c.file);
    }
  }
  std::string many = kTable;
  for (int i = 0; i < 25; ++i) many += "XX\t+4852x00220\tEurope/Paris\n";
  many += "XX\t+4852" + std::string(3000000, '7') + "\tEurope/Paris\n";
  const PlaceList l = ParsePlaces(many);
  ASSERT_EQ(l.warnings.size(), 11u);
  EXPECT_EQ(l.warnings.back(), "zone1970.tab: 16 more lines skipped");
  const PlaceList one = ParsePlaces(std::string(kTable) + "XX\t+4852" + std::string(3000000, '7') + "\tEurope/Paris\n");
  ASSERT_EQ(one.warnings.size(), 1u);
  EXPECT_LT(one.warnings[0].size(), 120u) << one.warnings[0].substr(0, 200);
  const std::vector<std::string> zones = {"Australia/Sydney", "Europe/Zurich", "America/New_York", "Europe/Berlin"};
  EXPECT_EQ(CloseMatches(zones, "berlin" + std::string(131000, 'q')), CloseMatches(zones, "berlin" + std::string(58, 'q')));
  // What lies beyond the first 64 bytes is not compared: all tie, in the order given.
  EXPECT_EQ(CloseMatches(zones, std::string(64, 'q') + "europe/berlin", 1), std::vector<std::string>{"Australia/Sydney"});
}

}  // namespace
}  // namespace vk
