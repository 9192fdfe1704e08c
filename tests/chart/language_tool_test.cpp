// The tool's --lang and locale: what day and ics list and write follows the
// language, its messages stay English, and the calendar's UIDs do not change.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "support/workspace.h"

namespace {

using vk::test::RunProgram;
using vk::test::Workspace;
using Result = vk::test::ToolResult;

// The tool under `env` settings (shell words such as "LC_ALL=en_US.UTF-8").
Result Tool(const std::string& env, const std::string& args, const std::string& cwd) {
  return RunProgram("env", "-u LANGUAGE -u LC_MESSAGES -u LANG -u LC_ALL " + env + " '" VK_TOOL "' " + args, cwd);
}

std::vector<std::string> LinesWith(const std::string& text, const std::string& start) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);)
    if (l.rfind(start, 0) == 0) lines.push_back(l);
  return lines;
}

TEST(ToolLanguage, BadLangExitsWith2InEnglishAndWritesNothing) {
  vk::test::TempDir dir;
  for (const char* bad : {"day --date 2024-04-08 --lang", "day --date 2024-04-08 --lang fr", "--lang EN day",
                          "ics --from 2024-04-08 --to 2024-04-08 --out x.ics --lang deutsch", "--lang '' places"}) {
    const Result r = Tool("LC_ALL=de_DE.UTF-8", bad, dir.path().string());
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("--lang takes de or en"), std::string::npos) << bad << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << bad << ": " << r.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "x.ics"));
  // Messages stay English in either language.
  const Result r = Tool("LC_ALL=de_DE.UTF-8", "day --lang de", dir.path().string());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--date is required"), std::string::npos) << r.err;
}

class ToolLanguageData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!vk::test::HaveData()) GTEST_SKIP() << "no data (the build produces it)";
  }
  Workspace ws;
  std::string cwd() const { return ws.dir.path().string(); }
};

TEST_F(ToolLanguageData, DayListsInTheChosenLanguageGermanUnchanged) {
  const std::string day = "day --date 2024-04-08 --lat 47.5 --lon 7.5 --zone 16 --daemmerungen --meridian --dir .";
  const Result plain = Tool("", day, cwd());  // no locale at all: German, as always
  ASSERT_EQ(plain.status, 0) << plain.err;
  const struct {
    const char* env;
    const char* lang;
    bool english;
  } rows[] = {
      {"LANG=en_US.UTF-8", "", true},      {"LANG=de_DE.UTF-8", "", false},     {"LC_ALL=C", "", false},
      {"LC_ALL=POSIX LANG=en_US", "", false}, {"LANG=fr_FR.UTF-8", "", true},  {"LANG=de_DE.UTF-8", "--lang en", true},
      {"LANG=en_US.UTF-8", "--lang de", false}, {"LC_MESSAGES=en_GB LANG=de_DE", "", true},
  };
  for (const auto& r : rows) {
    const Result got = Tool(r.env, day + " " + r.lang, cwd());
    ASSERT_EQ(got.status, 0) << r.env << " " << r.lang << ": " << got.err;
    if (!r.english) {
      EXPECT_EQ(got.out, plain.out) << r.env << " " << r.lang;
      continue;
    }
    const std::string& o = got.out;
    EXPECT_EQ(LinesWith(o, "MOO R: ").size(), 1u) << r.env << "\n" << o;
    EXPECT_EQ(LinesWith(o, "NEP R: ").size(), 1u) << o;
    EXPECT_NE(o.find("  S: "), std::string::npos) << o;
    for (const char* text : {"  Sun  true noon", "  Moon  New Moon", "  Sun  rises", "  Sun  sets",
                             "  Sun  Morning: civil twilight begins (Sun above -6°)"})
      EXPECT_NE(o.find(text), std::string::npos) << r.env << " lacks " << text << "\n" << o;
    for (const char* german : {"Sonne", "Mond", "Aufgang", "Mittag", "A: "})
      EXPECT_EQ(o.find(german), std::string::npos) << r.env << " still has " << german << "\n" << o;
    // The same events at the same times, only the words differ.
    EXPECT_EQ(LinesWith(o, "").size(), LinesWith(plain.out, "").size());
  }
}

TEST_F(ToolLanguageData, RealZoneLineFollowsTheLanguage) {
  const std::string day = "day --date 2024-04-08 --tz Europe/Berlin --lat 52.5 --lon 13.4 --dir .";
  const Result de = Tool("LANG=de_DE.UTF-8", day, cwd());
  const Result en = Tool("LANG=en_US.UTF-8", day, cwd());
  if (de.status == 1 && de.err.find("zoneinfo") != std::string::npos) GTEST_SKIP() << "no tz database";
  ASSERT_EQ(de.status, 0) << de.err;
  ASSERT_EQ(en.status, 0) << en.err;
  EXPECT_EQ(LinesWith(de.out, "Zeitzone ").at(0), "Zeitzone Europe/Berlin (MESZ, UTC+02:00)");
  EXPECT_EQ(LinesWith(en.out, "Time zone ").at(0), "Time zone Europe/Berlin (CEST, UTC+02:00)");
}

TEST_F(ToolLanguageData, CalendarTextsFollowTheLanguageUidsStay) {
  const std::string ics = "ics --from 2024-04-08 --to 2024-04-08 --kinds sun,phases --lat 47.5 --lon 7.5 --zone 16 --dir .";
  ASSERT_EQ(Tool("LANG=de_DE.UTF-8", ics + " --out de.ics", cwd()).status, 0);
  const Result en = Tool("LANG=de_DE.UTF-8", ics + " --out en.ics --lang en", cwd());
  ASSERT_EQ(en.status, 0) << en.err;
  EXPECT_NE(en.err.find("events written to"), std::string::npos) << en.err;
  const std::string de_text = vk::test::ReadFile((ws.dir / "de.ics").string());
  const std::string en_text = vk::test::ReadFile((ws.dir / "en.ics").string());
  const struct {
    const std::string& text;
    std::vector<const char*> has;
  } rows[] = {
      {de_text, {"SUMMARY:Sonne: Aufgang\r\n", "SUMMARY:Mond: Neumond\r\n", "\\nOrtszeit: 2024-04-08  ",
                 "LOCATION:47.50° N\\, 7.50° O\r\n"}},
      {en_text, {"SUMMARY:Sun: rises\r\n", "SUMMARY:Moon: New Moon\r\n", "\\nLocal time: 2024-04-08  ",
                 "LOCATION:47.50° N\\, 7.50° E\r\n"}},
  };
  for (const auto& r : rows)
    for (const char* h : r.has) EXPECT_NE(r.text.find(h), std::string::npos) << h << "\n" << r.text;
  EXPECT_FALSE(LinesWith(de_text, "UID:").empty());
  EXPECT_EQ(LinesWith(en_text, "UID:"), LinesWith(de_text, "UID:"));
}

}  // namespace

// The chart's columns hold the English words: each body's name ends before
// the event text (x 1150 to 1265), the title's weekday inside the plot, and
// the rise/set lines keep their 52 characters.
#include <QFontMetrics>

#include "chart/day_chart.h"
#include "ephemeris/ephemeris_data.h"
#include "events/event_kinds.h"
#include "language/translations.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

TEST(EnglishChart, WordsFitTheirColumns) {
  ASSERT_TRUE(InstallLanguage(Language::English, false).empty());
  const QFontMetrics list(List_Font());
  for (const std::string_view body : BodyNames) {
    const QString english = QString::fromUtf8(BodyText(body, Language::English).data());
    EXPECT_LT(list.horizontalAdvance(english), 1265 - 1150 - 4) << english.toStdString();
  }
  const QFontMetrics title(Title_Font());
  for (const char* day : Weekday_Names)
    EXPECT_LT(title.horizontalAdvance(QString::fromStdString("2024-12-30  " + Chart_Tr(day))), 900) << day;
  EXPECT_EQ(Chart_Title(CalendarToJD(2024, 4, 10, 0, 0, 0)), "2024-04-10  Wednesday");
  for (const tBodyChart& b : Body_Charts) EXPECT_EQ(Chart_Tr(b.prefix).size(), std::string_view(b.prefix).size());
  EXPECT_EQ(Chart_Tr("  U: "), "  S: ");
  // An eclipse's line: its magnitude inside the name, the part seen translated.
  const struct {
    const char* body;
    const char* event;
    float magnitude;
    const char* note;
    const char* english;
    const char* german;
  } eclipses[] = {
      {"Sonne", "Sonnenfinsternis (partiell)", 0.286f, "\t", "Solar eclipse (partial, 29 %)",
       "Sonnenfinsternis (partiell, 29 %)"},
      {"Sonne", "Sonnenfinsternis (partiell)", 0.922f, "Sonne geht während der Finsternis unter\t",
       "Solar eclipse (partial, 92 %) (the Sun sets during the eclipse)",
       "Sonnenfinsternis (partiell, 92 %) (Sonne geht während der Finsternis unter)"},
      {"Mond", "Mondfinsternis (total)", 1.414f, "Mond geht während der Finsternis unter\t",
       "Lunar eclipse (total, 1.41) (the Moon sets during the eclipse)",
       "Mondfinsternis (total, 1.41) (Mond geht während der Finsternis unter)"},
  };
  for (const auto& c : eclipses) {
    tEventData e;
    e.body = c.body;
    e.event = c.event;
    e.magnitude = c.magnitude;
    e.note = c.note;
    EXPECT_EQ(Event_Text(e), c.english);
    InstallLanguage(Language::German, false);
    EXPECT_EQ(Event_Text(e), c.german);
    InstallLanguage(Language::English, false);
  }
  InstallLanguage(Language::German, false);
  EXPECT_EQ(Chart_Title(CalendarToJD(2024, 4, 10, 0, 0, 0)), "2024-04-10  Mittwoch");
}

}  // namespace
}  // namespace vk
