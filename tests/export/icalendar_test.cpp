// The iCalendar writer's pieces: escaping, folding, UTC times, identifiers
// and the kind groups.
#include "export/icalendar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vk {
namespace {

TEST(IcalEscape, Table) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"Mond: Vollmond", "Mond: Vollmond"},
      {"a,b;c\\d", "a\\,b\\;c\\\\d"},
      {"Zeile 1\nZeile 2", "Zeile 1\\nZeile 2"},
      {"über -18°", "über -18°"},
      {"", ""},
      // What a damaged log may hold (found by fuzzing): control characters, and
      // bytes of no UTF-8 character (a stray continuation, an overlong form,
      // a surrogate, a character cut short).
      {"a\x01" "b\x1b[31m\tc\x7f\r", "ab[31m\tc"},
      {"\x80\xC0\xAF \xED\xA0\x80 \xE2\x80", "\uFFFD\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD \uFFFD\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(Ical_Escape(c.in), c.out) << c.in;
}

// Undoes the folding: CRLF followed by one blank disappears.
std::string Unfold(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "\r\n ") == 0) {
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2)
    lines.push_back(text.substr(start, p - start));
  EXPECT_EQ(start, text.size()) << "text does not end in CRLF";
  return lines;
}

bool Valid_Utf8_Start(const std::string& line, std::size_t from) {
  return from >= line.size() || (static_cast<unsigned char>(line[from]) & 0xC0) != 0x80;
}

TEST(IcalFold, LongGermanDescriptionKeepsCharactersWhole) {
  const std::string description =
      "DESCRIPTION:" + Ical_Escape("Abend: Ende der astronomischen Dämmerung (Sonne unter -18°), "
                                   "größte östliche Elongation; Merkur über dem Südwesthorizont\n"
                                   "Ortszeit: 2024-04-08  21:43:12 – äöüÄÖÜß°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°°");
  // Shifted by 0 … 3 leading octets, so that every cut meets a multi-byte
  // character at some offset.
  for (int shift = 0; shift < 4; ++shift) {
    const std::string line = std::string(static_cast<std::size_t>(shift), 'x') + description;
    const std::string folded = Ical_Fold(line);
    const auto lines = Lines(folded);
    ASSERT_GT(lines.size(), 2u);
    for (std::size_t k = 0; k < lines.size(); ++k) {
      EXPECT_LE(lines[k].size(), 75u) << "line " << k;
      if (k > 0) {
        EXPECT_EQ(lines[k][0], ' ');
        EXPECT_TRUE(Valid_Utf8_Start(lines[k], 1)) << "continuation " << k << " starts inside a character";
      }
    }
    EXPECT_EQ(Unfold(folded), line + "\r\n");
  }
}

TEST(IcalFold, ShortLinesStayWhole) {
  EXPECT_EQ(Ical_Fold("BEGIN:VEVENT"), "BEGIN:VEVENT\r\n");
  const std::string exactly75(75, 'a');
  EXPECT_EQ(Ical_Fold(exactly75), exactly75 + "\r\n");
  EXPECT_EQ(Ical_Fold(exactly75 + "b"), exactly75 + "\r\n b\r\n");
  // No character starts within the limit (no UTF-8 text): cut at the limit,
  // not looping (found by fuzzing).
  const std::string stray(80, '\x80');
  EXPECT_EQ(Ical_Fold(stray), stray.substr(0, 75) + "\r\n " + stray.substr(75) + "\r\n");
}

TEST(IcalUtc, KnownInstants) {
  const struct {
    double jd;
    const char* text;
  } cases[] = {
      {2451545.0, "20000101T120000Z"},                           // J2000.0
      {2460408.5, "20240408T000000Z"},
      {2460408.5 + (18 * 3600 + 21 * 60 + 7) / 86400.0, "20240408T182107Z"},
      {2459581.0 - 0.009 / 86400.0, "20220101T120000Z"},        // 9 ms before noon rounds up
      {2463230.5 - 0.4 / 86400.0, "20311230T000000Z"},          // 0.4 s before midnight rounds up
      {2463230.5 - 0.6 / 86400.0, "20311229T235959Z"},          // 0.6 s before: the second before
  };
  for (const auto& c : cases) EXPECT_EQ(Ical_Utc(c.jd), c.text) << c.text;
}

tEventData Event(double jd_ut, const char* body, const char* event) {
  tEventData e;
  e.jd_ut = jd_ut;
  e.jd_local = jd_ut + 1.0 / 12.0;
  e.body = body;
  e.event = event;
  e.note = "\t";
  return e;
}

TEST(IcalUid, StableForSameEventAndSiteOnly) {
  const Site basel{47.5, 7.5, 1.0, {}};
  const Site other{52.5, 13.4, 1.0, {}};
  const tEventData full = Event(2460424.4923, "Mond", "Vollmond");
  EXPECT_EQ(Ical_Uid(full, basel), Ical_Uid(full, basel));
  tEventData again = full;
  again.jd_local += 0.5;  // another zone does not change the event
  EXPECT_EQ(Ical_Uid(again, basel), Ical_Uid(full, basel));
  EXPECT_NE(Ical_Uid(full, other), Ical_Uid(full, basel));
  EXPECT_NE(Ical_Uid(Event(2460424.4923, "Mond", "Neumond"), basel), Ical_Uid(full, basel));
  EXPECT_NE(Ical_Uid(Event(2460424.4923, "Venus", "Vollmond"), basel), Ical_Uid(full, basel));
  EXPECT_NE(Ical_Uid(Event(2460424.4923 + 2.0 / 86400, "Mond", "Vollmond"), basel), Ical_Uid(full, basel));
}

TEST(EventKinds, EveryStoredNameHasItsGroup) {
  const struct {
    const char* body;
    const char* event;
    EventCategory kind;
  } cases[] = {
      {"Sonne", "MAstrD", EventCategory::Twilight},
      {"Sonne", "ABurgD", EventCategory::Twilight},
      {"Sonne", "Aufgang", EventCategory::SunRiseSet},
      {"Sonne", "Untergang", EventCategory::SunRiseSet},
      {"Mond", "Aufgang", EventCategory::BodyRiseSet},
      {"Neptun", "Untergang", EventCategory::BodyRiseSet},
      {"Jupiter", "im Meridian", EventCategory::Transit},
      {"Sonne", "wahrer Mittag", EventCategory::Transit},
      {"Mond", "Vollmond", EventCategory::MoonPhase},
      {"Mond", "Letztes Viertel", EventCategory::MoonPhase},
      {"Sonne", "Frühlingsanfang (Ekliptik)", EventCategory::Season},
      {"Sonne", "Winteranfang (Äquator)", EventCategory::Season},
      {"Merkur", "in unterer Konjunktion zu Sonne", EventCategory::Configuration},
      {"Merkur", "in oberer Konjunktion zur Sonne", EventCategory::Configuration},
      {"Saturn", "in Konjunktion zur Sonne", EventCategory::Configuration},
      {"Mars", "in Opposition zur Sonne", EventCategory::Configuration},
      {"Uranus", "stationär, wird rückläufig", EventCategory::Configuration},
      {"Venus", "maximale Elongation (östl.)", EventCategory::Configuration},
      {"Venus", "maximale Helligkeit (Morgenhimmel)", EventCategory::Configuration},
      {"Mond", "in Erdnähe", EventCategory::Distance},
      {"Mars", "in Erdferne", EventCategory::Distance},
      {"Sonne", "Erde in Sonnennähe", EventCategory::Distance},
      {"Mond", "nördlichste Deklination", EventCategory::Declination},
      {"Venus", "südlichste Deklination", EventCategory::Declination},
      {"Sonne", "MGoldB", EventCategory::PhotoLight},
      {"Sonne", "AGoldE", EventCategory::PhotoLight},
  };
  for (const auto& c : cases) {
    const auto kind = Group_Of(Event(2460400, c.body, c.event));
    ASSERT_TRUE(kind.has_value()) << c.body << " " << c.event;
    EXPECT_EQ(*kind, c.kind) << c.body << " " << c.event;
  }
  EXPECT_FALSE(Group_Of(Event(2460400, "Mond", "unbekannt")).has_value());
}

TEST(EventKinds, ParseList) {
  EXPECT_EQ(Parse_Groups("phases"), Group_Bit(EventCategory::MoonPhase));
  EXPECT_EQ(Parse_Groups("phases,seasons"), Group_Bit(EventCategory::MoonPhase) | Group_Bit(EventCategory::Season));
  // Every group by name is all of them; the golden and blue hours' bounds only by name.
  EXPECT_EQ(Parse_Groups("twilights,sun,risesets,transits,phases,seasons,configurations,distances,declinations,"
                         "eclipses,fotolicht"),
            kAllGroups);
  EXPECT_EQ(Parse_Groups("fotolicht"), Group_Bit(EventCategory::PhotoLight));
  EXPECT_EQ(kDefaultGroups & Group_Bit(EventCategory::PhotoLight), 0u);
  EXPECT_EQ(tCalendarRequest{}.kinds, kDefaultGroups);
  std::string bad;
  EXPECT_FALSE(Parse_Groups("phases,eclipse", &bad).has_value());
  EXPECT_EQ(bad, "eclipse");
  EXPECT_FALSE(Parse_Groups("", &bad).has_value());
  EXPECT_FALSE(Parse_Groups("phases,", &bad).has_value());
  EXPECT_EQ(Parse_Groups("all"), kAllGroups);
  EXPECT_EQ(Parse_Groups("phases,all"), kAllGroups);
  EXPECT_FALSE(Parse_Groups("All", &bad).has_value());
  EXPECT_EQ(bad, "All");
}

// Which events of a day a calendar holds by default, with every kind, and
// when the seasons are named; the place's name in LOCATION and the calendar's name.
TEST(CalendarText, DefaultKindsOneSeasonStartAndThePlace) {
  EventStore store;
  const double day = 2460389.5;  // 2024-03-20 00:00 local (two hours ahead of UT)
  const char* const day_events[][2] = {
      {"Sonne", "MAstrD"},         {"Sonne", "Aufgang"},          {"Mars", "im Meridian"},
      {"Merkur", "südlichste Deklination"}, {"Sonne", "Frühlingsanfang (Ekliptik)"}, {"Sonne", "Frühlingsanfang (Äquator)"},
      {"Mond", "Erstes Viertel"},  {"Jupiter", "Aufgang"},        {"Mond", "in Erdnähe"},
      {"Sonne", "Sonnenfinsternis (partiell)"}, {"Sonne", "Untergang"},
  };
  store.Event_Tab.push_back(tEventData{});  // the table is indexed from 1
  for (std::size_t i = 0; i < std::size(day_events); ++i)
    store.Event_Tab.push_back(Event(day + 0.1 + 0.05 * static_cast<double>(i), day_events[i][0], day_events[i][1]));
  store.Event_Count = static_cast<int>(store.Event_Tab.size()) - 1;
  const struct {
    const char* label;
    tGroupSet kinds;
    bool equator_seasons;
    std::vector<std::string> summaries;
  } cases[] = {
      {"default", kDefaultGroups, false,
       {"Sonne: Aufgang", "Sonne: Frühlingsanfang (Ekliptik)", "Mond: Erstes Viertel", "Sonne: Sonnenfinsternis (partiell)",
        "Sonne: Untergang"}},
      {"default, both season starts", kDefaultGroups, true,
       {"Sonne: Aufgang", "Sonne: Frühlingsanfang (Ekliptik)", "Sonne: Frühlingsanfang (Äquator)", "Mond: Erstes Viertel",
        "Sonne: Sonnenfinsternis (partiell)", "Sonne: Untergang"}},
      {"seasons named", Group_Bit(EventCategory::Season), true,
       {"Sonne: Frühlingsanfang (Ekliptik)", "Sonne: Frühlingsanfang (Äquator)"}},
      {"all", kAllGroups, true, {}},  // every event, checked by count
      {"planets' risings", Group_Bit(EventCategory::BodyRiseSet), false, {"Jupiter: Aufgang"}},
  };
  for (const auto& c : cases) {
    tCalendarRequest r;
    r.from_jd = r.to_jd = day;
    r.kinds = c.kinds;
    r.equator_seasons = c.equator_seasons;
    int count = -1;
    const std::string text = Calendar_Text(store, r, &count);
    std::vector<std::string> summaries;
    for (std::size_t p = text.find("SUMMARY:"); p != std::string::npos; p = text.find("SUMMARY:", p + 1))
      summaries.push_back(text.substr(p + 8, text.find("\r\n", p) - p - 8));
    EXPECT_EQ(count, static_cast<int>(summaries.size())) << c.label;
    if (c.kinds == kAllGroups)
      EXPECT_EQ(count, static_cast<int>(std::size(day_events))) << c.label;
    else
      EXPECT_EQ(summaries, c.summaries) << c.label;
  }
  tCalendarRequest defaults;
  EXPECT_EQ(defaults.kinds, kDefaultGroups);
  EXPECT_FALSE(defaults.equator_seasons);

  const struct {
    const char* place;
    const char* location;
    const char* name;
  } places[] = {
      {"", "LOCATION:47.50° N\\, 7.50° O\r\n", "X-WR-CALNAME:Vesperkalend: 47.50° N\\, 7.50° O\r\n"},
      {"Berlin", "LOCATION:Berlin\r\n", "X-WR-CALNAME:Vesperkalend: Berlin\r\n"},
      {"Port, Spain; x", "LOCATION:Port\\, Spain\\; x\r\n", "X-WR-CALNAME:Vesperkalend: Port\\, Spain\\; x\r\n"},
  };
  for (const auto& c : places) {
    tCalendarRequest r;
    r.from_jd = r.to_jd = day;
    r.place = c.place;
    const std::string text = Calendar_Text(store, r);
    EXPECT_NE(text.find(c.location), std::string::npos) << c.place;
    EXPECT_LT(text.find(c.name), text.find("BEGIN:VEVENT")) << c.place;
    EXPECT_LT(text.find(std::string("\r\nNAME:") + (c.name + 13)), text.find("BEGIN:VEVENT")) << c.place;
    EXPECT_NE(text.find("GEO:47.500000;7.500000\r\n"), std::string::npos) << c.place;
  }
}

TEST(CalendarText, OnlyTheChosenDaysAndKinds) {
  EventStore store;
  // The helper puts local time two hours ahead of UT.
  const double day = 2460408.5;  // 2024-04-08 00:00 local
  store.Event_Tab.push_back(Event(day - 0.2, "Mond", "Aufgang"));   // the day before
  store.Event_Tab.push_back(Event(day + 0.68, "Mond", "Neumond"));  // 2024-04-08 ~18:19 UT
  store.Event_Tab.push_back(Event(day + 0.70, "Sonne", "Untergang"));
  store.Event_Tab.push_back(Event(day + 0.75, "Mond", "in Erdnähe"));
  store.Event_Tab.push_back(Event(day + 1.2, "Mond", "Vollmond"));  // the day after
  store.Event_Count = 5;
  tCalendarRequest r;
  r.from_jd = day;
  r.to_jd = day;
  r.kinds = Group_Bit(EventCategory::MoonPhase) | Group_Bit(EventCategory::Distance);
  r.stamp_unix = 1'700'000'000;  // 2023-11-14 22:13:20 UTC
  int count = -1;
  const std::string text = Calendar_Text(store, r, &count);
  EXPECT_EQ(count, 2);
  EXPECT_NE(text.find("SUMMARY:Mond: Neumond\r\n"), std::string::npos);
  EXPECT_NE(text.find("SUMMARY:Mond: in Erdnähe\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Untergang"), std::string::npos);
  EXPECT_EQ(text.find("Vollmond"), std::string::npos);
  EXPECT_NE(text.find("DTSTAMP:20231114T221320Z\r\n"), std::string::npos);
  EXPECT_NE(text.find("GEO:47.500000;7.500000\r\n"), std::string::npos);
  EXPECT_NE(text.find("LOCATION:47.50° N\\, 7.50° O\r\n"), std::string::npos);
  EXPECT_EQ(text.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 15), "END:VCALENDAR\r\n");
  for (std::size_t p = text.find('\n'); p != std::string::npos; p = text.find('\n', p + 1))
    ASSERT_EQ(text[p - 1], '\r') << "bare LF at " << p;
}

}  // namespace
}  // namespace vk
