// The "render" and "day" commands: the day chart without a window.
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "chart/day_chart.h"
#include "commands.h"
#include "data_folder.h"
#include "dates.h"
#include "events/recompute.h"
#include "options.h"
#include "timecalc/calendar.h"
#include "timecalc/errors.h"
#include "timecalc/numtext.h"

namespace vk::tool {

namespace {

// An application object for fonts and painting; headless unless a platform is chosen.
void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "vesperkalend-tool";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

struct ChartRun {
  std::unique_ptr<DayChart> chart;
  double render_ms = 0;  // median of the renderings, each with the copy to the screen size
};

// Size of the visible chart in a maximised window on a 1920 x 1080 screen.
constexpr int kScreenWidth = 919;
constexpr int kScreenHeight = 809;

// Options shared by both commands, the recomputation chain and one rendering.
ChartRun RunChart(Options& opts, std::optional<std::string>* out, int repeat = 1) {
  const auto date = opts.take("--date");
  if (!date) throw UsageError{"--date is required"};
  const double sel = ParseDate(*date);
  const Site site = SiteOptions(opts);
  const bool daemmerungen = opts.flag("--daemmerungen");
  const bool no_auf_untergaenge = opts.flag("--no-auf-untergaenge");
  const bool meridian = opts.flag("--meridian");
  const DataFolder data = TakeDataFolder(opts);
  if (out != nullptr) {
    *out = opts.take("--out");
    if (!*out) throw UsageError{"--out is required"};
    const std::string ext = std::filesystem::path(**out).extension().string();
    std::string lower;
    for (char c : ext) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower != ".png" && lower != ".bmp") throw UsageError{"--out: the file must end in .png or .bmp"};
  }
  opts.finish();

  static Almanac almanac;  // large: not on the stack, and made only once the arguments are good
  almanac.site = site;
  RunRecomputationChain(almanac, data.dir, PrintProgress, data.log_dir);
  EnsureGuiApplication();

  ChartRun run;
  run.chart = std::make_unique<DayChart>();
  DayChart& chart = *run.chart;
  chart.Sel_JD = sel;
  chart.Show_Daemmerungen = daemmerungen ? 1 : 0;
  chart.Show_Auf_Untergaenge = no_auf_untergaenge ? 0 : 1;
  chart.Show_Meridian = meridian ? 1 : 0;
  chart.Pictures = ShippedChartPictures();
  QImage screen(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
  chart.Copy_To_Screen = [&screen](const QImage& img) { Copy_Chart_To(img, screen); };
  std::vector<double> times;
  for (int k = 0; k < repeat; ++k) {
    const auto start = std::chrono::steady_clock::now();
    Render_Day_Chart(chart, almanac.events, almanac.phases);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  chart.Copy_To_Screen = nullptr;
  std::sort(times.begin(), times.end());
  run.render_ms = times[times.size() / 2];
  return run;
}

void PrintMemo(const DayChart& chart) {
  for (const std::string& line : chart.Memo1) std::cout << line << "\n";
}

// Writes the image under a temporary name beside `path` and renames it.
// Throws: Error when it cannot be written.
void SaveImage(const QImage& img, const std::filesystem::path& path) {
  const std::string ext = path.extension().string();
  const bool bmp = ext == ".bmp" || ext == ".BMP" || ext == ".Bmp";
  std::filesystem::path temp = path;
  temp += ".tmp";
  QImageWriter writer(QString::fromStdString(temp.string()), bmp ? "BMP" : "PNG");
  if (!writer.write(img)) {
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    throw Error(writer.errorString().toStdString(), path.string());
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw Error("Cannot rename the written file", path.string());
  }
}

}  // namespace

int RenderCommand(const Args& args) {
  Options opts(args);
  std::optional<std::string> out;
  const int repeat = static_cast<int>(opts.integer("--repeat", 1, 1000).value_or(1));
  const ChartRun run = RunChart(opts, &out, repeat);
  SaveImage(run.chart->Img, *out);
  PrintMemo(*run.chart);
  std::cerr << "rendered in " << FormatFixed(run.render_ms, 1) << " ms"
            << (repeat > 1 ? " (median of " + std::to_string(repeat) + ")" : std::string()) << "\n";
  return 0;
}

int DayCommand(const Args& args) {
  Options opts(args);
  const ChartRun run = RunChart(opts, nullptr);
  PrintMemo(*run.chart);
  std::cout << "\n";
  for (const tListedEvent& e : run.chart->Listed_Events) {
    std::string text = e.text;
    // The note's TAB is printed as nothing, so that each line stays one row.
    std::erase(text, '\t');
    std::cout << e.time << "  " << e.body << "  " << text << "\n";
  }
  return 0;
}

}  // namespace vk::tool
