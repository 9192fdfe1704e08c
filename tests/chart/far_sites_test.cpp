// Rendered days on the build's data away from 47.5° N, and the pictures:
// circumpolar and never-rising bodies at 69.65° N, the Moon seen from the
// south, discs that stay visible near new Moon, planet pictures through their
// masks.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "chart/day_chart.h"
#include "support/run_tool.h"
#include "support/workspace.h"

namespace {

using vk::test::HaveData;
using vk::test::RunTool;
using vk::test::Workspace;

struct Rendered {
  QImage img;
  std::vector<std::string> memo;  // the nine Memo1 lines
};

class FarSites : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveData()) GTEST_SKIP() << "no data in " << vk::test::kBuildData << " (the build produces it)";
  }

  // The chart of `date` for the site given by `site` (tool options).
  Rendered Render(const std::string& date, const std::string& site) {
    const auto r = RunTool("render --date " + date + " " + site + " --ohne-kopf --out chart.png --dir .", ws_.dir.path().string());
    EXPECT_EQ(r.status, 0) << r.err;
    Rendered out;
    out.img = QImage(QString::fromStdString((ws_.dir / "chart.png").string())).convertToFormat(QImage::Format_RGB32);
    std::istringstream in(r.out);
    for (std::string l; std::getline(in, l);) out.memo.push_back(l);
    EXPECT_EQ(out.memo.size(), 9u) << r.out;
    return out;
  }

 private:
  Workspace ws_;
};

const char* kTromso = "--lat 69.65 --lon 18.96";
const char* kSydney = "--lat -33.87 --lon 151.21 --zone 32";  // UTC+10:00
const char* kBasel = "--lat 47.5 --lon 7.5";

std::string Rgb(const QImage& img, int x, int y) {
  const QColor c(img.pixel(x, y));
  return std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue());
}

// Row of the time in a Memo1 field "YYYY-MM-DD  hh:mm:ss" starting at `pos`.
int RowOf(const std::string& line, std::size_t pos) {
  const int h = std::stoi(line.substr(pos + 12, 2));
  const int m = std::stoi(line.substr(pos + 15, 2));
  const int s = std::stoi(line.substr(pos + 18, 2));
  return vk::Chart_Y(std::nearbyint(h * 60 + m + s / 60.0));
}
int RiseRow(const std::string& line) { return RowOf(line, 7); }

// Bars by column, colour and the rows of a day (00:00 … 23:59).
struct BarColumn {
  int memo;  // line of Memo1
  int x;
  const char* colour;
};
const BarColumn kMoonBar{0, 850, "160,160,160"};
const BarColumn kMarsBar{4, 350, "240,160,160"};
const BarColumn kJupiterBar{5, 450, "240,240,160"};
const BarColumn kUranusBar{7, 650, "128,160,128"};
const std::vector<int> kDayRows = {200, 400, 700, 1100, 1500, 1900, 2099};

// Rows of the day (away from the picture at the top) where the bar shows.
int BarRows(const QImage& img, const BarColumn& bar) {
  int n = 0;
  for (int y : kDayRows) n += Rgb(img, bar.x, y) == bar.colour ? 1 : 0;
  return n;
}

TEST_F(FarSites, MidsummerAt69North) {
  const Rendered r = Render("2024-06-21", kTromso);
  // Jupiter (declination +21°, lower culmination above the horizon) is up all
  // day; the full Moon (declination −27°) never rises. The lines still name the
  // next rise and set: Jupiter's first, below the horizon for less than two
  // hourly rows, at 2026-07-17 23:42 UT (PyEphem).
  EXPECT_EQ(r.memo[kJupiterBar.memo].substr(0, 17), "JUP A: 2026-07-18");
  EXPECT_EQ(BarRows(r.img, kJupiterBar), 7);
  EXPECT_EQ(r.memo[kMoonBar.memo].substr(0, 17), "MOO A: 2024-06-26");
  EXPECT_EQ(BarRows(r.img, kMoonBar), 0);
  for (int y : kDayRows) EXPECT_NE(Rgb(r.img, kMoonBar.x, y), kMoonBar.colour) << y;
}

TEST_F(FarSites, MidwinterAt69North) {
  const Rendered r = Render("2024-12-21", kTromso);
  // Mars (declination +24°) and Jupiter (+22°) circle the pole; Mars rises
  // next at 2025-05-09 04:51 UT (PyEphem).
  EXPECT_EQ(r.memo[kMarsBar.memo].substr(0, 17), "MAR A: 2025-05-09");
  EXPECT_EQ(BarRows(r.img, kMarsBar), 7);
  EXPECT_EQ(BarRows(r.img, kJupiterBar), 7);
}

TEST_F(FarSites, CircumpolarUranus) {
  // From mid-2026 on Uranus stays north of +20.35°: no rise nor set follows.
  const Rendered r = Render("2026-12-21", kTromso);
  EXPECT_EQ(r.memo[kUranusBar.memo], "URA A: --  U: --");
  EXPECT_EQ(BarRows(r.img, kUranusBar), 7);
}

// Pixels brighter than the unlit part in the left and the right half of a disc.
std::pair<int, int> BrightHalves(const QImage& img, int cx, int cy, int radius) {
  int left = 0, right = 0;
  for (int y = cy - radius; y <= cy + radius; ++y)
    for (int x = cx - radius; x < cx + radius; ++x) {
      const int dx = 2 * (x - cx) + 1, dy = 2 * (y - cy) + 1;  // from the centre between pixels
      if (dx * dx + dy * dy > 4 * radius * radius || qGray(img.pixel(x, y)) < 100) continue;
      (x < cx ? left : right) += 1;
    }
  return {left, right};
}

TEST_F(FarSites, WaxingCrescentSeenFromTheSouthIsLitOnTheLeft) {
  // New Moon 2024-06-06: on 06-09 the Moon is a waxing crescent, which a
  // southern observer sees lit on the left.
  const Rendered south = Render("2024-06-09", kSydney);
  const int top = RiseRow(south.memo[0]) - 48;
  const auto [left, right] = BrightHalves(south.img, 802 + 48, top + 48, 46);
  EXPECT_GT(left, 20) << "right " << right;
  EXPECT_EQ(right, 0) << "left " << left;
  // The same day in the north: lit on the right.
  const Rendered north = Render("2024-06-09", kBasel);
  const int ntop = RiseRow(north.memo[0]) - 48;
  const auto [nleft, nright] = BrightHalves(north.img, 802 + 48, ntop + 48, 46);
  EXPECT_GT(nright, 20) << "left " << nleft;
  EXPECT_EQ(nleft, 0) << "right " << nright;
}

// Every pixel of a disc at least `min` on every channel.
int DarkPixels(const QImage& img, int cx, int cy, int radius, int min) {
  int dark = 0;
  for (int y = cy - radius; y <= cy + radius; ++y)
    for (int x = cx - radius; x <= cx + radius; ++x) {
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > radius * radius) continue;
      const QColor c(img.pixel(x, y));
      dark += (c.red() < min || c.green() < min || c.blue() < min) ? 1 : 0;
    }
  return dark;
}

TEST_F(FarSites, DiscsNearNewMoonAndInferiorConjunctionStayVisible) {
  // 2022-01-01: new Moon on 01-02, Venus at inferior conjunction on 01-09.
  const Rendered r = Render("2022-01-01", kBasel);
  const int moon_top = RiseRow(r.memo[0]) - 48;
  EXPECT_EQ(DarkPixels(r.img, 802 + 48, moon_top + 48, 44, 35), 0);
  const int venus_top = RiseRow(r.memo[3]) - 24;
  EXPECT_EQ(DarkPixels(r.img, 226 + 24, venus_top + 24, 21, 35), 0);
}

TEST_F(FarSites, PlanetPictureCornersShowTheDaylightBand) {
  // 2022-01-01 at 47.5° N: Jupiter, Saturn, Uranus and Neptune rise in daylight.
  const Rendered r = Render("2022-01-01", kBasel);
  struct Picture {
    int memo, x;
  };
  ASSERT_EQ(r.memo.size(), 9u);
  for (const Picture p : {Picture{5, 418}, Picture{6, 518}, Picture{7, 618}, Picture{8, 718}}) {
    const int top = RiseRow(r.memo[static_cast<std::size_t>(p.memo)]) - 24;
    for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{63, 0}, std::pair{0, 63}, std::pair{63, 63}})
      EXPECT_EQ(Rgb(r.img, p.x + dx, top + dy), "160,160,0") << r.memo[static_cast<std::size_t>(p.memo)];
  }
}

}  // namespace
