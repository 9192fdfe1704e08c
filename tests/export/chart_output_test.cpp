// Chart pictures, PDF pages, month sheets and the night view.
#include "export/chart_output.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "base/error.h"

namespace vk {
namespace {

int Shell(const std::string& cmd) {
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(ChartFileType, ByEnding) {
  const struct {
    const char* name;
    std::optional<ChartFileType> type;
  } cases[] = {
      {"a.png", ChartFileType::Png},  {"a.PNG", ChartFileType::Png},   {"b.jpg", ChartFileType::Jpeg},
      {"b.JPEG", ChartFileType::Jpeg}, {"c.bmp", ChartFileType::Bmp},  {"d.pdf", ChartFileType::Pdf},
      {"e.gif", std::nullopt},         {"png", std::nullopt},          {"f.png.tmp", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(Chart_File_Type(c.name), c.type) << c.name;
}

// A chart-sized test picture: black, a grey band over rows 500 … 899 and a
// white one over rows 1300 … 1309, across x = 100 … 899.
void Paint_Test_Bands(QPainter& p) {
  p.fillRect(QRect(0, 0, kChartWidth, kChartHeight), Qt::black);
  p.fillRect(QRect(100, 500, 800, 400), QColor(128, 128, 128));
  p.fillRect(QRect(100, 1300, 800, 10), Qt::white);
}

QImage Test_Bands() {
  QImage img(kChartWidth, kChartHeight, QImage::Format_RGB32);
  QPainter p(&img);
  Paint_Test_Bands(p);
  return img;
}

TEST(SaveChartPicture, EveryTypeAtFullAndScreenSize) {
  test::TempDir dir;
  const QImage img = Test_Bands();
  for (const char* name : {"c.png", "c.jpg", "c.bmp"}) {
    for (const QSize size : {QSize(kChartWidth, kChartHeight), QSize(919, 809)}) {
      const auto path = dir / name;
      Save_Chart_Picture(img, path, size);
      const QImage back(QString::fromStdString(path.string()));
      ASSERT_FALSE(back.isNull()) << name;
      EXPECT_EQ(back.size(), size) << name;
      // The white band's middle row, scaled to the size.
      const int y = static_cast<int>(1305.0 * size.height() / kChartHeight);
      const int x = static_cast<int>(500.0 * size.width() / kChartWidth);
      EXPECT_GT(qRed(back.pixel(x, y)), 200) << name;
      EXPECT_LT(qRed(back.pixel(x, y - 40 * size.height() / kChartHeight)), 30) << name;
    }
  }
}

TEST(SaveChartPicture, UnwritablePathLeavesNothing) {
  test::TempDir dir;
  const auto path = dir / "missing" / "c.png";
  try {
    Save_Chart_Picture(Test_Bands(), path, QSize(100, 88));
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(e.describe().find(path.string()), std::string::npos) << e.describe();
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_THROW(Save_Chart_Picture(Test_Bands(), dir / "c.gif", QSize(100, 88)), Error);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// Rows where column x changes its brightness by more than 60.
std::vector<int> Edges(const QImage& img, int x) {
  std::vector<int> rows;
  for (int y = 1; y < img.height(); ++y)
    if (std::abs(qGray(img.pixel(x, y)) - qGray(img.pixel(x, y - 1))) > 60) rows.push_back(y);
  return rows;
}

TEST(SaveChartPdf, PagesRasteriseToTheChartRows) {
  test::TempDir dir;
  const auto pdf = dir / "bands.pdf";
  Save_Chart_Pdf(pdf, 2, [](QPainter& p, int) { Paint_Test_Bands(p); });
  ASSERT_EQ(Shell("cd '" + dir.path().string() + "' && pdftoppm -r 96 -f 2 -l 2 -png bands.pdf page"), 0);
  const QImage page(QString::fromStdString((dir / "page-2.png").string()));
  ASSERT_EQ(page.size(), QSize(kChartWidth, kChartHeight));
  const std::vector<int> want = {500, 900, 1300, 1310};
  const std::vector<int> got = Edges(page, 500);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], 1) << k;
}

TEST(SaveChartPdf, UnwritablePathLeavesNothing) {
  test::TempDir dir;
  EXPECT_THROW(Save_Chart_Pdf(dir / "missing" / "c.pdf", 1, [](QPainter& p, int) { Paint_Test_Bands(p); }), Error);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(NightView, NoGreenOrBlueAboveRedAndBrightnessKept) {
  QImage img(6, 1, QImage::Format_RGB32);
  const QRgb colours[] = {qRgb(255, 255, 255), qRgb(255, 255, 0), qRgb(0, 0, 255),
                          qRgb(0, 255, 0),     qRgb(0, 0, 0),     qRgb(128, 128, 128)};
  for (int x = 0; x < 6; ++x) img.setPixel(x, 0, colours[x]);
  const QImage night = Night_View_Image(img);
  const int want_red[] = {200, 175, 22, 115, 0, 100};  // brightness 255, 226, 29, 149, 0, 128 scaled by 200/255
  for (int x = 0; x < 6; ++x) {
    const QRgb c = night.pixel(x, 0);
    EXPECT_NEAR(qRed(c), want_red[x], 1) << x;
    EXPECT_EQ(qGreen(c), 0) << x;
    EXPECT_EQ(qBlue(c), 0) << x;
  }
}

TEST(PrintColours, LightnessTurnedOverHueKept) {
  const struct {
    QRgb in;
    int lightness;  // of the result, 0 … 255
  } cases[] = {
      {qRgb(0, 0, 0), 255},        // background: paper
      {qRgb(255, 255, 255), 0},    // text: black
      {qRgb(160, 160, 0), 175},    // daylight band
      {qRgb(0, 0, 255), 128},      // pure colours keep their middle lightness
      {qRgb(30, 30, 30), 225},     // the afternoon's shade stays apart from the morning's black
  };
  QImage img(5, 1, QImage::Format_RGB32);
  for (int x = 0; x < 5; ++x) img.setPixel(x, 0, cases[x].in);
  const QImage out = Print_Colours_Image(img);
  for (int x = 0; x < 5; ++x) {
    const QColor got = QColor(out.pixel(x, 0)).toHsl(), in = QColor(cases[x].in).toHsl();
    EXPECT_NEAR(got.lightness(), cases[x].lightness, 1) << x;
    if (in.hslSaturation() > 0) EXPECT_NEAR(got.hslHue(), in.hslHue(), 2) << x;
  }
}

// The chart is drawn in the page's colours beforehand: the band takes them.
TEST(ChartPageImage, HeadingBandAboveTheUnchangedChart) {
  const QImage img = Test_Bands();
  const tChartPage page{{"Ort: Testort (47.50° N, 8.50° O)", "Zeitzone: UTC+01:00", "Zeiten: klassisch"}, false};
  for (const bool colours : {false, true}) {
    tChartPage look = page;
    look.print_colours = colours;
    const QImage out = Chart_Page_Image(img, look);
    ASSERT_EQ(out.size(), QSize(kChartWidth, kChartHeight + kHeadingBand));
    const QImage chart = out.copy(0, kHeadingBand, kChartWidth, kChartHeight);
    EXPECT_TRUE(chart == img) << colours;
    // The heading's text: pixels far from the band's background, in its left part only.
    const int background = qGray(out.pixel(kChartWidth - 1, 0));
    EXPECT_EQ(background, colours ? 255 : 0);
    int text = 0;
    for (int y = 0; y < kHeadingBand; ++y)
      for (int x = 0; x < kChartWidth; ++x) text += std::abs(qGray(out.pixel(x, y)) - background) > 128;
    EXPECT_GT(text, 2000) << colours;
  }
}

}  // namespace
}  // namespace vk

// The tool's charts from the real data.
namespace vk {
namespace {

const std::filesystem::path kData = VK_DATA_DIR;

int Tool(const std::string& args, const test::TempDir& dir) {
  return Shell("cd '" + dir.path().string() + "' && '" VK_TOOL "' " + args + " --dir '" + kData.string() +
             "' >out.txt 2>err.txt");
}

// Rows where the plot's column x = 120 (left of every bar) changes colour: the band edges.
std::vector<int> Band_Rows(const QImage& img) {
  std::vector<int> rows;
  for (int y = 101; y < 2100; ++y) {
    const QRgb a = img.pixel(120, y - 1), b = img.pixel(120, y);
    if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 60)
      rows.push_back(y);
  }
  return rows;
}

TEST(ToolCharts, MonthSheetPageOneHasTheBandsOfThePngExport) {
  test::TempDir dir;
  ASSERT_EQ(Tool("render --date 2024-04-01 --ohne-kopf --out day.png", dir), 0);
  ASSERT_EQ(Tool("render --month 2024-04 --ohne-kopf --out april.pdf", dir), 0);
  ASSERT_EQ(Shell("cd '" + dir.path().string() + "' && pdfinfo april.pdf | grep -q '^Pages: *30$'"), 0);
  ASSERT_EQ(Shell("cd '" + dir.path().string() + "' && pdftoppm -r 96 -f 1 -l 1 -png april.pdf page"), 0);
  const QImage png(QString::fromStdString((dir / "day.png").string()));
  const QImage page(QString::fromStdString((dir / "page-01.png").string()));
  ASSERT_EQ(page.size(), png.size());
  const auto want = Band_Rows(png);
  const auto got = Band_Rows(page);
  ASSERT_GE(want.size(), 8u);  // four twilight levels, morning and evening
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], 1) << k;
}

TEST(ToolCharts, NightViewHasNoGreenOrBlueAboveRed) {
  test::TempDir dir;
  ASSERT_EQ(Tool("render --date 2024-06-21 --daemmerungen --meridian --nachtansicht --ohne-kopf --out night.png", dir), 0);
  ASSERT_EQ(Tool("render --date 2024-06-21 --daemmerungen --meridian --ohne-kopf --out day.png", dir), 0);
  const QImage night(QString::fromStdString((dir / "night.png").string()));
  const QImage day(QString::fromStdString((dir / "day.png").string()));
  ASSERT_EQ(night.size(), QSize(kChartWidth, kChartHeight));
  const QImage n32 = night.convertToFormat(QImage::Format_RGB32);
  const QImage d32 = day.convertToFormat(QImage::Format_RGB32);
  int lit = 0, coloured_by_day = 0;
  for (int y = 0; y < n32.height(); ++y) {
    const auto* nr = reinterpret_cast<const QRgb*>(n32.constScanLine(y));
    const auto* dr = reinterpret_cast<const QRgb*>(d32.constScanLine(y));
    for (int x = 0; x < n32.width(); ++x) {
      const QRgb c = nr[x];
      ASSERT_LE(qGreen(c), qRed(c)) << x << "," << y;
      ASSERT_LE(qBlue(c), qRed(c)) << x << "," << y;
      lit += qRed(c) > 100;
      coloured_by_day += qGreen(dr[x]) > qRed(dr[x]) || qBlue(dr[x]) > qRed(dr[x]);
    }
  }
  EXPECT_GT(lit, 100000);             // the daylight band and the texts are still there
  EXPECT_GT(coloured_by_day, 10000);  // the normal chart has its blue and green
}

// Runs of the same PDF give the same bytes (its fonts in one order, and the
// creation date fixed or from SOURCE_DATE_EPOCH): separate processes, whose
// hash seeds differ, rendering a page with text in two fonts.
TEST(ToolCharts, PdfsAreReproducible) {
  test::TempDir dir;
  for (int k = 0; k < 8; ++k)
    ASSERT_EQ(Tool("render --date 2024-04-08 --out run" + std::to_string(k) + ".pdf", dir), 0);
  const std::string first = test::ReadFile(dir / "run0.pdf");
  for (int k = 1; k < 8; ++k) EXPECT_TRUE(test::ReadFile(dir / ("run" + std::to_string(k) + ".pdf")) == first) << k;
  EXPECT_NE(first.find("/CreationDate (D:20220101000000Z)"), std::string::npos);
  ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  ASSERT_EQ(Tool("render --date 2024-04-08 --out epoch.pdf", dir), 0);
  ::unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_NE(test::ReadFile(dir / "epoch.pdf").find("/CreationDate (D:20231114221320Z)"), std::string::npos);
  EXPECT_EQ(Shell("cd '" + dir.path().string() + "' && TZ=UTC pdfinfo epoch.pdf | grep -q '^CreationDate: *Tue Nov 14 22:13:20 2023'"), 0);
}

// The saved charts name the place, zone and mode: PDF pages on landscape paper
// with the heading as text, pictures with a band above the chart.
TEST(ToolCharts, PdfPagesOnLandscapePaperWithTheHeading) {
  test::TempDir dir;
  const struct {
    const char* env;
    const char* args;
    const char* pages;
    const char* size;               // pdfinfo's page size
    std::vector<const char*> text;  // in pdftotext's output; empty: no "Ort:" at all
  } cases[] = {
      {"", "--date 2024-04-08 --place Zurich", "1", "842 x 595 pts (A4)",
       {"Ort: Zurich (47.3", "Zeitzone: Europe/Zurich", "Zeiten: präzise", "2024-04-08"}},
      {"", "--month 2024-02 --lat 10 --lon -20 --zone 0 --druckfarben --interpolation classic", "29",
       "842 x 595 pts (A4)",
       {"Ort: 10.00° N, 20.00° W", "Zeitzone: UTC-12:00, Sommerzeit", "Zeiten: klassisch", "2024-02-29"}},
      {"LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 ", "--date 2024-04-08", "1", "792 x 612 pts (letter)", {"Ort: "}},
      {"", "--date 2024-04-08 --ohne-kopf", "1", "1875 x 1650 pts", {}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Shell("cd '" + dir.path().string() + "' && " + c.env + "'" VK_TOOL "' render " + c.args +
                    " --lang de --out p.pdf --dir '" + kData.string() + "' >out.txt 2>err.txt"),
              0)
        << c.args << test::ReadFile(dir / "err.txt");
    ASSERT_EQ(Shell("cd '" + dir.path().string() + "' && pdfinfo p.pdf >info.txt && pdftotext -enc UTF-8 p.pdf text.txt"), 0);
    std::string info = test::ReadFile(dir / "info.txt");
    const std::string text = test::ReadFile(dir / "text.txt");
    info.erase(std::unique(info.begin(), info.end(), [](char a, char b) { return a == ' ' && b == ' '; }), info.end());
    EXPECT_NE(info.find(std::string("Page size: ") + c.size), std::string::npos) << c.args << "\n" << info;
    EXPECT_NE(info.find(std::string("Pages: ") + c.pages + "\n"), std::string::npos) << c.args << "\n" << info;
    for (const char* want : c.text) EXPECT_NE(text.find(want), std::string::npos) << c.args << ": " << want << "\n" << text;
    if (c.text.empty()) EXPECT_EQ(text.find("Ort:"), std::string::npos) << c.args;
  }
}

TEST(ToolCharts, PicturesWithHeadingAndPrintColours) {
  test::TempDir dir;
  ASSERT_EQ(Tool("render --date 2022-01-01 --out screen.png", dir), 0);
  ASSERT_EQ(Tool("render --date 2022-01-01 --druckfarben --out print.png", dir), 0);
  ASSERT_EQ(Tool("render --date 2022-01-01 --ohne-kopf --out bare.png", dir), 0);
  const QImage screen = QImage(QString::fromStdString((dir / "screen.png").string())).convertToFormat(QImage::Format_RGB32);
  const QImage print = QImage(QString::fromStdString((dir / "print.png").string())).convertToFormat(QImage::Format_RGB32);
  const QImage bare = QImage(QString::fromStdString((dir / "bare.png").string())).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(bare.size(), QSize(kChartWidth, kChartHeight));
  ASSERT_EQ(screen.size(), QSize(kChartWidth, kChartHeight + kHeadingBand));
  ASSERT_EQ(print.size(), screen.size());
  // The screen colours below the band are the bare chart's, pixel for pixel.
  EXPECT_TRUE(screen.copy(0, kHeadingBand, kChartWidth, kChartHeight) == bare);
  // Print colours: a light page with dark text, the daylight band still coloured.
  int light = 0, dark = 0;
  for (int y = 0; y < print.height(); y += 2)
    for (int x = 0; x < print.width(); x += 2) {
      light += qGray(print.pixel(x, y)) > 200;
      dark += qGray(print.pixel(x, y)) < 80;
    }
  const int samples = (print.width() / 2) * (print.height() / 2);
  EXPECT_GT(light, samples / 2);
  EXPECT_GT(dark, 2000);
  EXPECT_LT(dark, samples / 10);
  const QColor day = QColor(print.pixel(500, 1105 + kHeadingBand));
  EXPECT_GT(day.hsvSaturation(), 100);
  EXPECT_NEAR(day.hsvHue(), 60, 5);  // yellow, as on the screen
  int heading_dark = 0;
  for (int y = 0; y < kHeadingBand; ++y)
    for (int x = 0; x < kChartWidth; ++x) heading_dark += qGray(print.pixel(x, y)) < 100;
  EXPECT_GT(heading_dark, 2000);
}

// Print colours are drawn, not a picture of the chart: the PDF stays about
// the size of the screen colours' and holds no picture wider than a phase's.
TEST(ToolCharts, PrintColoursPdfStaysVector) {
  test::TempDir dir;
  ASSERT_EQ(Tool("render --date 2024-04-08 --lesehilfen --out screen.pdf", dir), 0);
  ASSERT_EQ(Tool("render --date 2024-04-08 --lesehilfen --druckfarben --out print.pdf", dir), 0);
  const auto screen = std::filesystem::file_size(dir / "screen.pdf"), print = std::filesystem::file_size(dir / "print.pdf");
  EXPECT_LT(print, screen * 3 / 2) << screen << " " << print;
  ASSERT_EQ(Shell("cd '" + dir.path().string() + "' && pdfimages -list print.pdf > images.txt"), 0);
  std::istringstream lines(test::ReadFile(dir / "images.txt"));
  std::string line;
  int pictures = 0;
  for (int n = 0; std::getline(lines, line); ++n) {
    if (n < 2) continue;  // the column names and the rule under them
    std::istringstream fields(line);
    std::string page, num, type;
    int width = 0;
    fields >> page >> num >> type >> width;
    EXPECT_LE(width, 96) << line;
    ++pictures;
  }
  EXPECT_GT(pictures, 0) << "the phase pictures";
}

TEST(ToolCharts, BadOutputs) {
  test::TempDir dir;
  EXPECT_EQ(Tool("render --month 2024-04 --out april.png", dir), 2);
  EXPECT_EQ(Tool("render --month 2024-13 --out a.pdf", dir), 2);
  EXPECT_EQ(Tool("render --month 2060-01 --out a.pdf", dir), 2);
  EXPECT_EQ(Tool("render --date 2024-04-01 --month 2024-04 --out a.pdf", dir), 2);
  EXPECT_EQ(Tool("render --date 2024-04-01 --nachtansicht --out a.pdf", dir), 2);
  EXPECT_EQ(Tool("render --date 2024-04-01 --nachtansicht --druckfarben --out a.png", dir), 2);
  EXPECT_NE(test::ReadFile(dir / "err.txt").find("--nachtansicht and --druckfarben exclude each other"), std::string::npos);
  EXPECT_EQ(Tool("day --date 2024-04-01 --druckfarben", dir), 2);
  EXPECT_EQ(Tool("day --date 2024-04-01 --ohne-kopf", dir), 2);
  EXPECT_EQ(Tool("render --month 2024-04 --out missing/april.pdf", dir), 1);
  EXPECT_NE(test::ReadFile(dir / "err.txt").find("missing/april.pdf"), std::string::npos);
  for (const auto& f : std::filesystem::directory_iterator(dir.path()))
    EXPECT_TRUE(f.path().extension() == ".txt") << f.path();
}

}  // namespace
}  // namespace vk
