// The year table, the month page and the day's light: their times against the
// day listing at three sites (one polar), the day length, the text, CSV and
// PDF forms, and the table command's refusals.
#include "export/almanac_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/error.h"
#include "base/number_text.h"
#include "chart/day_chart.h"
#include "events/recompute.h"
#include "support/run_tool.h"
#include "support/workspace.h"
#include "timecalc/calendar.h"
#include "timecalc/time_zones.h"

namespace vk {
namespace {

double Day(int y, int m, int d) { return CalendarToJD(y, m, d, 0, 0, 0); }

TEST(TableFileType, ByEnding) {
  const struct {
    const char* name;
    std::optional<TableFileType> type;
  } cases[] = {{"a.pdf", TableFileType::Pdf}, {"a.PDF", TableFileType::Pdf}, {"b.csv", TableFileType::Csv},
               {"c.Txt", TableFileType::Txt}, {"d.png", std::nullopt},       {"pdf", std::nullopt},
               {"e.csv.part", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(Table_File_Type(c.name), c.type) << c.name;
}

TEST(MinuteText, RoundsAsTheDayListingThenToTheMinute) {
  const double day = Day(2025, 3, 18);
  const struct {
    const char* what;
    double seconds;  // after local 00:00
    const char* text;
  } cases[] = {
      {"midnight", 0, "00:00"},
      {"29.4 s down", 29.4, "00:00"},
      {"30 s up", 30, "00:01"},
      // The listing shows 12:34:30 for 12:34:29.6: the table follows it.
      {"second first", 12 * 3600 + 34 * 60 + 29.6, "12:35"},
      {"12:34:29.4", 12 * 3600 + 34 * 60 + 29.4, "12:34"},
      {"last half minute", 86370, "24:00"},
      {"last half second stays in the day", 86399.7, "24:00"},
      {"23:59:29", 86369, "23:59"},
  };
  for (const auto& c : cases) EXPECT_EQ(Minute_Text(day + c.seconds / 86400.0, day), c.text) << c.what;
}

TEST(HoursMinutesText, Spans) {
  const struct {
    double hours;
    bool seconds;
    const char* text;
  } cases[] = {{0, false, "00:00"}, {24, false, "24:00"}, {24, true, "24:00:00"}, {7.5 + 0.5 / 60, false, "07:31"},
               {16.0 / 3600 + 8, true, "08:00:16"}, {23.9999, false, "24:00"}};
  for (const auto& c : cases) EXPECT_EQ(Hours_Minutes_Text(c.hours, c.seconds), c.text) << c.hours;
}

TEST(PageHeading, PlaceZoneAndMode) {
  auto zone = std::make_shared<ZoneTable>();
  zone->name = "Europe/Berlin";
  zone->transitions.push_back({});
  const struct {
    const char* what;
    std::string name;
    Site site;
    Interpolation mode;
    const char *place, *zone, *mode_text;
  } cases[] = {
      {"named place, real zone", "Berlin", Site{52.5, 13.37, 1, zone}, Interpolation::Precise,
       "Ort: Berlin (52.50° N, 13.37° O)", "Zeitzone: Europe/Berlin, Sommerzeit nach den Regeln der Zone",
       "Zeiten: präzise (zwischen den Stundenwerten verfeinert)"},
      {"coordinates, classic row", "", Site{-33.87, -70.5, -4, {}}, Interpolation::Classic,
       "Ort: 33.87° S, 70.50° W",
       "Zeitzone: UTC-04:00, Sommerzeit (+1 h) vom letzten Sonntag im März bis zum letzten Sonntag im Oktober",
       "Zeiten: klassisch (aus den Stundenwerten)"},
  };
  for (const auto& c : cases) {
    const tPageHeading h = Page_Heading(c.name, c.site, c.mode);
    EXPECT_EQ(h.place, c.place) << c.what;
    EXPECT_EQ(h.zone, c.zone) << c.what;
    EXPECT_EQ(h.mode, c.mode_text) << c.what;
  }
}

// Synthetic days: a regular day, a polar day, a polar night, a day without a moonrise.
std::vector<tAlmanacDay> Synthetic_Year(int year) {
  std::vector<tAlmanacDay> days;
  for (double d = Day(year, 1, 1); d < Day(year + 1, 1, 1); d += 1) {
    tAlmanacDay a;
    a.day_jd = d;
    a.rise = d + 8.0 / 24;
    a.set = d + (16.0 + 30.5 / 60) / 24;  // 16:30:30 → 16:31
    a.day_length_h = 8.5;
    a.civil_begin = d + 7.5 / 24;
    a.moon_rise = d + 20.0 / 24;
    a.moon = tMoonLight{0.4567, 3.21};
    days.push_back(a);
  }
  // 21 June: polar day; 21 December: polar night; 2 January: no moonrise.
  for (tAlmanacDay& a : days) {
    const CalendarTime c = JDToCalendar(a.day_jd);
    if (c.month == 6 && c.day == 21) a.rise = a.set = std::nullopt, a.day_length_h = 24;
    if (c.month == 12 && c.day == 21) a.rise = a.set = std::nullopt, a.day_length_h = 0;
    if (c.month == 1 && c.day == 2) a.moon_rise = std::nullopt, a.phase = "Vollmond";
  }
  return days;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    out.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return out;
}

TEST(YearTableText, PagesRowsAndMarks) {
  const tPageHeading h{"Ort: X", "Zeitzone: Y", "Zeiten: Z"};
  const struct {
    const char* what;
    tYearTableOptions options;
    int pages;
  } cases[] = {{"Sun, civil, Moon", {}, 3}, {"with nautical", {true, false}, 4}, {"all twilights", {true, true}, 5}};
  for (const auto& c : cases) {
    const std::string text = Year_Table_Text(2025, Synthetic_Year(2025), h, c.options);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), c.pages - 1) << c.what;
  }
  const std::vector<std::string> lines = Lines(Year_Table_Text(2025, Synthetic_Year(2025), h, {}));
  ASSERT_GT(lines.size(), 40u);
  EXPECT_EQ(lines[0], "Sonnenaufgang und Sonnenuntergang 2025");
  EXPECT_EQ(lines[1], "Ort: X");
  // Day rows: the day's number, then each month's rise and set.
  const std::string& row1 = lines[7];
  EXPECT_EQ(row1.substr(0, 21), "  1  08:00 16:31 08:0") << row1;
  const std::string& row21 = lines[27];
  EXPECT_EQ(row21.substr(4 + 5 * 12, 12), "  ****  ****") << "polar day in June: " << row21;
  EXPECT_EQ(row21.substr(4 + 11 * 12), "  ----  ----") << "polar night in December: " << row21;
  // 29 February does not exist in 2025: its cells stay empty; March follows.
  const std::string& row29 = lines[35];
  EXPECT_EQ(row29.substr(0, 4 + 2 * 12), " 29  08:00 16:31            ") << row29;
  // The Moon's page: "—" where the day has no moonrise.
  const std::string text = Year_Table_Text(2025, Synthetic_Year(2025), h, {});
  const std::vector<std::string> moon = Lines(text.substr(text.rfind('\f')));
  EXPECT_EQ(moon[1], "Mondaufgang und Monduntergang 2025");
  EXPECT_EQ(moon[9].rfind("  2      —     — 20:00", 0), 0u) << moon[9];
}

TEST(YearTableCsv, OneRowPerDayFifteenColumns) {
  const std::vector<tAlmanacDay> days = Synthetic_Year(2024);
  const std::vector<std::string> lines = Lines(Year_Table_Csv(days, {"Ort: \"X\"", "Zeitzone: Y", "Zeiten: Z"}));
  ASSERT_EQ(lines.size(), 3 + 1 + 1 + 366u);
  EXPECT_EQ(lines[0], "\"Ort: \"\"X\"\"\"\r");
  EXPECT_EQ(lines[3], "\r");
  EXPECT_EQ(lines[4].substr(0, 41), "\"Datum\",\"Sonnenaufgang\",\"Sonnenuntergang\"");
  for (std::size_t k = 4; k < lines.size(); ++k) EXPECT_EQ(std::count(lines[k].begin(), lines[k].end(), ','), 14) << k;
  EXPECT_EQ(lines[5], "2024-01-01,08:00,16:31,08:30,07:30,,,,,,20:00,,45.7,3.21,\r");
  EXPECT_EQ(lines[6].substr(0, 11), "2024-01-02,");
  EXPECT_NE(lines[6].find(",Vollmond\r"), std::string::npos) << lines[6];
  EXPECT_EQ(lines[5 + 172], "2024-06-21,,,24:00,07:30,,,,,,20:00,,45.7,3.21,\r") << "polar day: no times";
}

TEST(YearTablePdf, PagesOnTheChosenPaperSameBytesTwice) {
  test::TempDir dir;
  const std::vector<tAlmanacDay> days = Synthetic_Year(2025);
  const tPageHeading h{"Ort: X", "Zeitzone: Y", "Zeiten: Z"};
  Save_Year_Table_Pdf(dir / "a.pdf", 2025, days, h, {true, true}, QPageSize(QPageSize::A4));
  Save_Year_Table_Pdf(dir / "b.pdf", 2025, days, h, {true, true}, QPageSize(QPageSize::A4));
  Save_Year_Table_Pdf(dir / "l.pdf", 2025, days, h, {}, QPageSize(QPageSize::Letter));
  const std::string a = test::ReadFile(dir / "a.pdf");
  EXPECT_EQ(a.substr(0, 5), "%PDF-");
  EXPECT_EQ(a, test::ReadFile(dir / "b.pdf"));
  const auto info = [&](const char* name) { return test::RunProgram("pdfinfo", (dir / name).string()).out; };
  EXPECT_NE(info("a.pdf").find("Pages:           5"), std::string::npos) << info("a.pdf");
  EXPECT_NE(info("a.pdf").find("842 x 595 pts (A4)"), std::string::npos) << "A4 landscape";
  EXPECT_NE(info("l.pdf").find("792 x 612 pts (letter)"), std::string::npos) << info("l.pdf");
  const std::string text = test::RunProgram("pdftotext", "-layout " + (dir / "a.pdf").string() + " -").out;
  for (const char* s : {"Sonnenaufgang und Sonnenuntergang 2025", "Ort: X", "Zeitzone: Y", "08:00", "16:31", "****",
                        "Dezember", "Astronomische Dämmerung 2025"})
    EXPECT_NE(text.find(s), std::string::npos) << s;
  EXPECT_THROW(Save_Year_Table(dir / "missing" / "c.pdf", 2025, days, h, {}), Error);
  EXPECT_THROW(Save_Year_Table(dir / "c.png", 2025, days, h, {}), Error);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_FALSE(std::filesystem::exists(dir / "c.png"));
}

// The table's times against the day listing (the chart's list and the day
// command) at three sites, twelve days of 2025 each.
TEST(AlmanacDay, TimesEqualTheDayListingRounded) {
  ASSERT_TRUE(test::HaveData());
  const struct {
    const char* name;
    double lat, lon;
    int zone;
  } sites[] = {{"Berlin", 52.52, 13.40, 16}, {"Sydney", -33.87, 151.21, 32}, {"Tromsø", 69.65, 18.96, 16}};
  const std::map<std::pair<std::string_view, std::string_view>, std::optional<double> tAlmanacDay::*> kinds = {
      {{"Sonne", "Aufgang"}, &tAlmanacDay::rise},           {{"Sonne", "Untergang"}, &tAlmanacDay::set},
      {{"Sonne", "MBurgD"}, &tAlmanacDay::civil_begin},     {{"Sonne", "ABurgD"}, &tAlmanacDay::civil_end},
      {{"Sonne", "MNautD"}, &tAlmanacDay::nautical_begin},  {{"Sonne", "ANautD"}, &tAlmanacDay::nautical_end},
      {{"Sonne", "MAstrD"}, &tAlmanacDay::astro_begin},     {{"Sonne", "AAstrD"}, &tAlmanacDay::astro_end},
      {{"Mond", "Aufgang"}, &tAlmanacDay::moon_rise},       {{"Mond", "Untergang"}, &tAlmanacDay::moon_set}};
  static Almanac a;  // large: not on the stack
  test::Workspace ws;
  int polar_days = 0, polar_nights = 0, short_nights = 0, compared = 0;
  for (const auto& s : sites) {
    a.site = Site{s.lat, s.lon, TimeZones.at(static_cast<std::size_t>(s.zone)).offset_hours, {}};
    RunRecomputationChain(a, ws.dir.path(), nullptr);
    // A day of each month, and 17 May: at Tromsø the Sun sets after midnight and rises again.
    std::vector<double> test_days;
    for (int m = 1; m <= 12; ++m) test_days.push_back(Day(2025, m, 1 + (m * 7) % 28));
    test_days.push_back(Day(2025, 5, 17));
    for (const double day : test_days) {
      SCOPED_TRACE(std::string(s.name) + " " + Date_Time_Text(day));
      const tAlmanacDay row = Almanac_Day(a.events, day);
      std::map<std::pair<std::string_view, std::string_view>, std::string> listed;
      for (const tListedEvent& e : List_Day_Events(a.events, day, true, true, false)) {
        const tEventData& d = a.events.Event_Tab[static_cast<std::size_t>(e.index)];
        const auto k = kinds.find({d.body, d.event});
        if (k == kinds.end() || listed.count(k->first)) continue;
        // "hh:mm:ss" to the minute, 30 s up.
        const int s_of_day = std::stoi(e.time.substr(0, 2)) * 3600 + std::stoi(e.time.substr(3, 2)) * 60 +
                             std::stoi(e.time.substr(6, 2));
        listed[k->first] = LastDigits((s_of_day + 30) / 3600, 2) + ":" + LastDigits((s_of_day + 30) / 60 % 60, 2);
      }
      for (const auto& [key, member] : kinds) {
        const auto& value = row.*member;
        const auto it = listed.find(key);
        ASSERT_EQ(value.has_value(), it != listed.end()) << key.first << " " << key.second;
        if (value) {
          EXPECT_EQ(Minute_Text(*value, day), it->second) << key.first << " " << key.second;
        }
        compared += value.has_value();
      }
      // The day length: set − rise on a regular day, 24 h or 0 where the Sun stays up or down.
      ASSERT_TRUE(row.day_length_h);
      if (row.rise && row.set && *row.set > *row.rise) {
        EXPECT_NEAR(*row.day_length_h, (*row.set - *row.rise) * 24, 1e-9);
      }
      if (row.rise && row.set && *row.set < *row.rise) {  // up at 00:00, down a while, up at 24:00
        EXPECT_NEAR(*row.day_length_h, 24 - (*row.rise - *row.set) * 24, 1e-9);
        ++short_nights;
      }
      if (!row.rise && !row.set) {
        EXPECT_TRUE(*row.day_length_h == 24 || *row.day_length_h == 0) << *row.day_length_h;
        (*row.day_length_h == 24 ? polar_days : polar_nights)++;
        const std::string mark = *row.day_length_h == 24 ? "****" : "----";
        EXPECT_NE(Year_Table_Text(2025, {row}, {}, {}).find(mark), std::string::npos);
      }
    }
  }
  EXPECT_GT(compared, 300);
  EXPECT_GE(polar_days, 1) << "Tromsø in June";
  EXPECT_GE(polar_nights, 1) << "Tromsø in December";
  EXPECT_GE(short_nights, 1) << "Tromsø on 17 May";

  // The month's notable events of March 2025 at Tromsø: the phases, the
  // equinox, the total lunar eclipse of the 14th; no rises.
  const std::vector<tNotableEvent> events = Notable_Events(a.events, Day(2025, 3, 1), Day(2025, 3, 31));
  std::string all;
  for (const tNotableEvent& e : events) all += e.body + " " + e.text + "\n";
  for (const char* s : {"Vollmond", "Neumond", "Erstes Viertel", "Letztes Viertel", "Frühlingsanfang (Ekliptik)",
                        "Mondfinsternis (total)"})
    EXPECT_NE(all.find(s), std::string::npos) << s << " in\n" << all;
  EXPECT_EQ(all.find("Aufgang"), std::string::npos) << all;
  EXPECT_EQ(all.find("Äquator"), std::string::npos) << all;
  EXPECT_TRUE(std::is_sorted(events.begin(), events.end(),
                             [](const auto& x, const auto& y) { return x.jd_local < y.jd_local; }));
  EXPECT_LT(events.front().jd_local, Day(2025, 3, 8));
  EXPECT_GE(events.front().jd_local, Day(2025, 3, 1));
  EXPECT_LT(events.back().jd_local, Day(2025, 4, 1));
  // The day's light lines at Tromsø on 14 March: fraction and age at noon, the day length.
  const std::vector<std::string> light = Day_Light_Lines(a.events, Day(2025, 3, 14));
  ASSERT_EQ(light.size(), 2u);
  EXPECT_EQ(light[0].substr(0, 6), "Mond: ");
  EXPECT_NE(light[0].find("% beleuchtet, Alter 1"), std::string::npos) << light[0];
  EXPECT_EQ(light[1].rfind("Tageslänge: 11:28:", 0), 0u) << light[1];
}

// The table command's refusals: a clear message, exit status 2, no file.
TEST(TableTool, BadArgumentsWriteNothing) {
  test::TempDir dir;
  const std::string data = " --dir " + test::kBuildData.string();
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"--year 2070 --out t.pdf", "--year: 2070 is outside 1960-01-01 … 2059-12-31"},
      {"--year 1959 --out t.pdf", "--year: 1959 is outside"},
      {"--year 20x5 --out t.pdf", "--year: '20x5' is not an integer"},
      {"--month 2025-13 --out t.pdf", "--month: '2025-13' is not a month YYYY-MM"},
      {"--month 2025-00 --out t.pdf", "--month: '2025-00' is not a month YYYY-MM"},
      {"--month 25-01 --out t.pdf", "--month: '25-01' is not a month YYYY-MM"},
      {"--month 2070-01 --out t.pdf", "--month: 2070-01 is outside"},
      {"--year 2025 --out t.png", "--out: the file must end in .pdf, .csv or .txt"},
      {"--year 2025 --out t", "--out: the file must end in .pdf, .csv or .txt"},
      {"--year 2025", "--out is required"},
      {"--out t.pdf", "--year or --month is required"},
      {"--year 2025 --month 2025-01 --out t.pdf", "--year and --month exclude each other"},
      {"--month 2025-01 --nautisch --out t.pdf", "--nautisch and --astronomisch are for --year"},
  };
  for (const auto& c : cases) {
    const test::ToolResult r = test::RunTool(std::string("table ") + c.args + data, dir.path().string());
    EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << c.args;
  }
  const test::ToolResult r = test::RunTool("table --year 2025 --out missing/t.pdf" + data, dir.path().string());
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The month page from the tool: one row per day, the events, the heading.
TEST(TableTool, MonthPageAsText) {
  test::TempDir dir;
  const test::ToolResult r = test::RunTool("table --month 2025-02 --lat 52.52 --lon 13.4 --out m.txt --dir " +
                                               test::kBuildData.string(),
                                           dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(test::ReadFile(dir / "m.txt"));
  ASSERT_GT(lines.size(), 40u);
  EXPECT_EQ(lines[0], "Februar 2025");
  EXPECT_EQ(lines[1], "Ort: 52.52° N, 13.40° O");
  EXPECT_EQ(lines[5].rfind("Tag       Aufgang   Untergang  Tageslänge", 0), 0u) << lines[5];
  // Berlin's 1 February 2025: the Sun rises at 07:48, sets at 16:53 (the year table's cells).
  EXPECT_EQ(lines[6].rfind("01 Sa       07:48       16:53       09:05", 0), 0u) << lines[6];
  EXPECT_EQ(lines[33].rfind("28 Fr ", 0), 0u) << lines[33];
  EXPECT_NE(lines[33].find(" Neumond"), std::string::npos) << lines[33];
  EXPECT_EQ(lines[35], "Ereignisse des Monats");
  EXPECT_NE(test::ReadFile(dir / "m.txt").find("Vollmond"), std::string::npos);
}

}  // namespace
}  // namespace vk
