// The "render" and "day" commands: the day chart without a window.
#include <unistd.h>

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
#include "periods.h"
#include "export/chart_output.h"
#include "events/recompute.h"
#include "options.h"
#include "timecalc/calendar.h"
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/number_text.h"
#include "timecalc/input_checks.h"

namespace vk::tool {

namespace {

struct ChartRun {
  std::unique_ptr<DayChart> chart;
  double render_ms = 0;  // median of the renderings, each with the copy to the screen size
  std::optional<double> month_last;  // --month: the Julian day of its last day (the chart shows the first)
  bool night = false;                // --nachtansicht
  bool print_colours = false;        // --druckfarben
  std::optional<tChartPage> page;    // the heading and colours of the saved chart; empty: --ohne-kopf, the bare chart
  const Almanac* almanac = nullptr;  // the computed events and phases
};

// Size of the visible chart in a maximised window on a 1920 x 1080 screen.
constexpr int kScreenWidth = 919;
constexpr int kScreenHeight = 809;

// Options shared by both commands, the recomputation chain and one rendering.
ChartRun RunChart(Options& opts, std::optional<std::string>* out, int repeat = 1) {
  const auto date = opts.take("--date");
  const auto month = out != nullptr ? opts.take("--month") : std::nullopt;
  if (!date && !month) throw UsageError{out != nullptr ? "--date or --month is required" : "--date is required"};
  if (date && month) throw UsageError{"--date and --month exclude each other"};
  double sel = 0;
  std::optional<double> month_last;
  if (date) {
    sel = ParseDate(*date);
  } else {
    std::tie(sel, month_last) = ParseMonth(*month);
  }
  const bool night = out != nullptr && opts.flag("--nachtansicht");
  const bool print_colours = out != nullptr && opts.flag("--druckfarben");
  const bool bare = out != nullptr && opts.flag("--ohne-kopf");
  std::string place_name;  // for the heading
  const Site site = SiteOptions(opts, &place_name);
  const Interpolation interpolation = InterpolationOption(opts);
  const bool daemmerungen = opts.flag("--daemmerungen");
  const bool no_auf_untergaenge = opts.flag("--no-auf-untergaenge");
  const bool meridian = opts.flag("--meridian");
  const bool fotolicht = opts.flag("--fotolicht");
  const bool reading_aids = out != nullptr && opts.flag("--lesehilfen");
  const DataFolder data = TakeDataFolder(opts);
  const tDataSpan span = DataSpan(data);
  CheckInSpan(sel, date ? *date : *month, date ? "--date" : "--month", span);
  if (month_last && !span.holds(*month_last)) month_last = span.last_jd();
  if (out != nullptr) {
    *out = opts.take("--out");
    if (!*out) throw UsageError{"--out is required"};
    if ((*out)->empty()) throw UsageError{"--out: the file name is empty"};
    const auto type = Chart_File_Type(**out);
    if (!type) throw UsageError{"--out: the file must end in .png, .jpg, .jpeg, .bmp or .pdf"};
    if (month_last && *type != ChartFileType::Pdf) throw UsageError{"--month: the file must end in .pdf"};
    if (night && *type == ChartFileType::Pdf) throw UsageError{"--nachtansicht: only for pictures, not for .pdf"};
    if (night && print_colours) throw UsageError{"--nachtansicht and --druckfarben exclude each other"};
    std::error_code ec;
    if (std::filesystem::is_directory(**out, ec))
      throw UsageError{"--out: " + QuoteInput(**out) + " is a folder, not a file"};
    CheckWriteTarget(**out);
  }
  opts.finish();

  static Almanac almanac;  // large: not on the stack, and made only once the arguments are good
  almanac.site = site;
  almanac.interpolation = interpolation;
  almanac.photo_light = fotolicht;
  const PeriodTables tables = TablesForDay(data, span, sel);
  UsePeriodTables(almanac, data, tables);
  RunRecomputationChain(almanac, tables.dir, PrintProgress, tables.log_dir);
  EnsureGuiApplication();

  ChartRun run;
  run.month_last = month_last;
  run.night = night;
  if (out != nullptr && !bare) run.page = tChartPage{Page_Heading(place_name, site, interpolation), print_colours};
  run.print_colours = print_colours;
  run.almanac = &almanac;
  run.chart = std::make_unique<DayChart>();
  DayChart& chart = *run.chart;
  chart.Sel_JD = sel;
  chart.Site_nLat = site.Site_nLat;
  chart.Zone = site.Site_Zone;
  chart.Show_Daemmerungen = daemmerungen ? 1 : 0;
  chart.Show_Auf_Untergaenge = no_auf_untergaenge ? 0 : 1;
  chart.Show_Meridian = meridian ? 1 : 0;
  chart.Show_Fotolicht = fotolicht ? 1 : 0;
  chart.Show_Leaders = reading_aids ? 1 : 0;
  chart.Show_Legend = reading_aids ? 1 : 0;
  if (print_colours) chart.Colours = Print_Palette();
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

// The Moon's light and the day length, after a blank line.
void PrintLight(const DayChart& chart) {
  if (chart.Light_Lines.empty()) return;
  std::cout << "\n";
  for (const std::string& line : chart.Light_Lines) std::cout << line << "\n";
}

}  // namespace

int RenderCommand(const Args& args) {
  Options opts(args);
  std::optional<std::string> out;
  const int repeat = static_cast<int>(opts.integer("--repeat", 1, 1000).value_or(1));
  const ChartRun run = RunChart(opts, &out, repeat);
  const std::filesystem::path path = *out;
  const double last = run.month_last.value_or(run.chart->Sel_JD);
  if (Chart_File_Type(path) == ChartFileType::Pdf) {
    if (run.page || run.print_colours)
      Save_Day_Pages_Pdf(path, *run.chart, run.almanac->events, run.almanac->phases, run.chart->Sel_JD, last,
                         run.page.value_or(tChartPage{{}, true}));
    else
      Save_Day_Pages_Pdf(path, *run.chart, run.almanac->events, run.almanac->phases, run.chart->Sel_JD, last);
  } else {
    // The chart was drawn in the page's colours already.
    const QImage img = run.page ? Chart_Page_Image(run.chart->Img, *run.page) : run.chart->Img;
    Save_Chart_Picture(run.night ? Night_View_Image(img) : img, path, img.size());
  }
  PrintMemo(*run.chart);
  std::cerr << "rendered in " << FormatFixed(run.render_ms, 1) << " ms"
            << (repeat > 1 ? " (median of " + std::to_string(repeat) + ")" : std::string()) << "\n";
  return 0;
}

int DayCommand(const Args& args) {
  Options opts(args);
  const ChartRun run = RunChart(opts, nullptr);
  if (run.chart->Zone) {
    // A real zone: its name and state on the day first.
    std::cout << Chart_Tr(QT_TRANSLATE_NOOP("DayChart", "Zeitzone")) << " " << run.chart->Zone->name << " "
              << Day_Fields(run.chart->Sel_JD, run.chart->Zone.get()).DST_Text << "\n\n";
  }
  PrintMemo(*run.chart);
  PrintLight(*run.chart);
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
