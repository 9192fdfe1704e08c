// The render and day commands of the maintenance tool.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "ephemeris/ephemeris_data.h"
#include "events/phase_table.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "support/workspace.h"

namespace {

using vk::test::HaveData;
using vk::test::RunTool;
using vk::test::Workspace;
using Result = vk::test::ToolResult;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

const std::filesystem::path kData = vk::test::kBuildData;

TEST(RenderCommand, BadDatesAndOptionsExitWith2) {
  vk::test::TempDir dir;
  for (const char* bad : {"--date 2024-02-30 --out c.png", "--date 2024-4-8 --out c.png", "--date 2021-12-31 --out c.png",
                          "--date 2032-01-01 --out c.png", "--date 2024-04-08", "--date 2024-04-08 --out c.gif",
                          "--out c.png", "--date 2024-04-08 --out c.png --zone 40", "--date 2024-04-08 --out c.png --fast",
                          "--date x --out c.png"}) {
    const Result r = RunTool(std::string("render ") + bad, dir.path().string());
    EXPECT_EQ(r.status, 2) << bad << ": " << r.err;
    EXPECT_FALSE(r.err.empty()) << bad;
  }
  const Result r = RunTool("render --date 2024-02-30 --out c.png", dir.path().string());
  EXPECT_NE(r.err.find("--date: '2024-02-30' is not a date YYYY-MM-DD"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "c.png"));
}

TEST(DayCommand, BadDatesAndOptionsExitWith2) {
  for (const char* bad : {"", "--date 2032-01-01", "--date 2024-13-01", "--date 2024-04-08 --out c.png",
                          "--date 2024-04-08 --lat 95", "--date 2024-04-08 --lesehilfen"}) {
    const Result r = RunTool(std::string("day ") + bad);
    EXPECT_EQ(r.status, 2) << bad << ": " << r.err;
  }
  // A folder without the coefficient file covers the documented decade.
  EXPECT_NE(RunTool("day --date 2032-01-01").err.find("outside 2022-01-01 … 2031-12-31"), std::string::npos);
}

class RealDataTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveData()) GTEST_SKIP() << "no data in " << kData << " (the build produces it)";
  }
};

TEST_F(RealDataTool, DayListsTheMemoLinesAndTheEvents) {
  Workspace ws;
  const Result r = RunTool("day --date 2024-04-08 --lat 47.5 --lon 7.5 --zone 16 --daemmerungen --meridian --dir .",
                           ws.dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_GT(lines.size(), 12u);
  EXPECT_EQ(lines[0].substr(0, 7), "MOO A: ");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[8].substr(0, 7), "NEP A: ");
  for (int i : {0, 2, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(lines[static_cast<std::size_t>(i)].size(), 52u) << lines[i];
  EXPECT_EQ(lines[9], "");
  bool noon = false, new_moon = false, sunrise = false;
  for (std::size_t i = 10; i < lines.size(); ++i) {
    noon |= lines[i].find("  Sonne  wahrer Mittag") == 8;
    new_moon |= lines[i].find("  Mond  Neumond") == 8;
    sunrise |= lines[i].find("  Sonne  Aufgang") == 8;
  }
  EXPECT_TRUE(noon);
  EXPECT_TRUE(new_moon);  // the total solar eclipse of 2024-04-08 falls on a new Moon
  EXPECT_TRUE(sunrise);
}

// --fotolicht adds the four bounds of the golden and blue hours to the day's
// lines and nothing else; the calendar takes them by the key fotolicht alone.
TEST_F(RealDataTool, GoldenAndBlueHoursOnlyWhenAskedFor) {
  Workspace ws;
  const std::string site = " --lat 47.5 --lon 7.5 --zone 16 --dir .";
  const Result plain = RunTool("day --date 2024-04-08" + site, ws.dir.path().string());
  const Result light = RunTool("day --date 2024-04-08 --fotolicht" + site, ws.dir.path().string());
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(light.status, 0) << light.err;
  std::vector<std::string> added;
  for (const std::string& l : Lines(light.out))
    if (plain.out.find(l + "\n") == std::string::npos) added.push_back(l.substr(8));
  EXPECT_EQ(added, (std::vector<std::string>{
                       "  Sonne  Morgen: Ende der blauen, Beginn der goldenen Stunde (Sonne über -4°)",
                       "  Sonne  Morgen: Ende der goldenen Stunde (Sonne über +6°)",
                       "  Sonne  Abend: Beginn der goldenen Stunde (Sonne unter +6°)",
                       "  Sonne  Abend: Ende der goldenen, Beginn der blauen Stunde (Sonne unter -4°)"}));
  EXPECT_EQ(Lines(light.out).size(), Lines(plain.out).size() + 4);
  const auto events = [&](const std::string& kinds) {
    const Result r = RunTool("ics --from 2024-04-08 --to 2024-04-08" + kinds + site + " --out e.ics",
                             ws.dir.path().string());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string text = vk::test::ReadFile(ws.dir / "e.ics");
    std::size_t n = 0;
    for (std::size_t at = text.find("BEGIN:VEVENT"); at != std::string::npos; at = text.find("BEGIN:VEVENT", at + 1)) ++n;
    return std::pair{n, text.find("goldenen Stunde") != std::string::npos};
  };
  EXPECT_EQ(events(" --kinds fotolicht"), (std::pair<std::size_t, bool>{4, true}));
  EXPECT_FALSE(events("").second) << "not among the default kinds";
}

TEST_F(RealDataTool, RenderWritesTheFullChart) {
  Workspace ws;
  const Result r = RunTool("render --date 2022-01-01 --ohne-kopf --out chart.png --dir .", ws.dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out).size(), 9u);
  const QImage img(QString::fromStdString((ws.dir / "chart.png").string()));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(2500, 2200));
  // The daylight band at 12:00 of a winter day at 47.5° N.
  EXPECT_EQ(img.pixel(500, 1105), qRgb(160, 160, 0));
  EXPECT_FALSE(std::filesystem::exists(ws.dir / "chart.png.tmp"));
}

TEST_F(RealDataTool, PolarNightNearTheEndOfThePeriodRenders) {
  Workspace ws;
  const Result r = RunTool("render --date 2031-12-20 --lat 69.65 --lon 18.95 --out polar.bmp --daemmerungen --ohne-kopf --dir .",
                           ws.dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 9u);
  const QImage img(QString::fromStdString((ws.dir / "polar.bmp").string()));
  ASSERT_FALSE(img.isNull());
  // No sunrise: no daylight at noon, twilight instead.
  EXPECT_NE(img.pixel(500, 1100 - 30), qRgb(160, 160, 0));
  EXPECT_EQ(img.pixel(500, 100 + 2 * 60 * 2000 / 1440), qRgb(0, 0, 0));
}

}  // namespace
