// The window, offscreen, as a user meets it: start-up (the window built, the
// first recomputation taken and its chart painted), a site change (a latitude
// typed and Enter) to the new chart on screen (the log written afterwards),
// one click on the latitude step button to its log written (its fixed 250 ms
// pause included), the steps per second of a held latitude button and the
// days per second of a held day button, and for comparison another day's chart alone;
// the chart enlarged one step, dragged, and another day's chart while enlarged;
// then another period: a day of it chosen when its tables are not made yet (made
// in a fresh cache, to its chart) with the window's peak resident memory meanwhile,
// the move back into a made period, and a site change inside the other period.
// Medians of 5 after one run that warms the caches; the CPU time of the
// process alongside; the peak resident memory of the session in one window.
// Run: build/bin/vk_bench_window [--start-up | --site-changes-in YEAR] (one figure alone, for profiling;
// --start-up also prints the process's first window, all of whose memory is fresh)
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_form_options.h"
#include "bench_stats.h"
#include "mainwindow/form_main.h"
#include "timecalc/calendar.h"
#include "timecalc/input_checks.h"

namespace {

using Clock = std::chrono::steady_clock;
using vk::bench::CpuMs;
using vk::bench::Median;

struct Figure {
  std::vector<double> wall, cpu;
  void add(double w, double c) {
    wall.push_back(w);
    cpu.push_back(c);
  }
  void print(const char* what, const char* unit = "ms") const {
    std::printf("%-52s %8.1f %s   (CPU %.1f ms; min %.1f, max %.1f)\n", what, Median(wall), unit, Median(cpu),
                *std::min_element(wall.begin(), wall.end()), *std::max_element(wall.begin(), wall.end()));
  }
};

// Runs `action` six times, the first not counted: wall and CPU time,
// milliseconds; `after` (untimed) runs after each.
Figure Measure(const std::function<void()>& action, const std::function<void()>& after = {}) {
  Figure f;
  for (int run = 0; run < 6; ++run) {
    const double c0 = CpuMs();
    const auto t0 = Clock::now();
    action();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    if (run > 0) f.add(ms, CpuMs() - c0);
    if (after) after();
  }
  return f;
}

// Runs the event loop until `busy` is false; `sample`, when given, after each turn.
void Wait_While(const std::function<bool()>& busy, const std::function<void()>& sample = {}) {
  while (busy()) {
    QTest::qWait(1);
    if (sample) sample();
  }
}

// The process's resident memory now, MB.
double ResidentMb() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A folder of this run's own: runs side by side on the machine would remove each other's tables.
  const auto dir = std::filesystem::temp_directory_path() / ("vk-bench-window-" + std::to_string(getpid()));
  vk::FormOptions o = BenchFormOptions(dir);
  o.cache_dir = dir / "cache";
  std::unique_ptr<vk::TForm_Main> w;
  const auto computing = [&] { return w->Computing(); };
  const auto working = [&] { return w->Working(); };
  auto open = [&] {
    w = std::make_unique<vk::TForm_Main>(o);
    w->resize(1460, 864);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) std::fprintf(stderr, "vk_bench_window: window not exposed\n");
    Wait_While(computing);  // the first chart painted when the first table is taken
  };
  if (argc > 1 && std::string(argv[1]) == "--start-up") {
    {
      // The first window of the process: every page of its tables fresh, as at a real start.
      const double c0 = CpuMs();
      const auto t0 = Clock::now();
      open();
      std::printf("first window of the process %8.1f ms (CPU %.1f ms)\n",
                  std::chrono::duration<double, std::milli>(Clock::now() - t0).count(), CpuMs() - c0);
    }
    Wait_While(working);
    Measure([&] {
      w.reset();
      open();
    }, [&] { Wait_While(working); }).print("start-up to the first chart painted");
    return 0;
  }
  // One window for the site changes, the day and the held buttons, as one
  // user session; the start-up is timed after it on new windows.
  open();
  Wait_While(working);

  auto* lat = w->findChild<QLineEdit*>("Edit_nLat");
  auto* plus = w->findChild<QPushButton*>("BitBtn_nLat_PlusSmall");
  auto* minus = w->findChild<QPushButton*>("BitBtn_nLat_MinusSmall");
  auto* day_plus = w->findChild<QPushButton*>("BitBtn_Daag_Plus");
  if (!lat || !plus || !minus || !day_plus) {
    std::fprintf(stderr, "vk_bench_window: no latitude or day controls\n");
    return 1;
  }
  int typed = 0;
  // To the new chart on the screen; the log is written afterwards, untimed.
  const auto type_latitude = [&] {
    return Measure(
        [&] {
          lat->setFocus();
          lat->setText(++typed % 2 ? "48.00" : "47.50");
          QTest::keyClick(lat, Qt::Key_Return);
          Wait_While(computing);
        },
        [&] { Wait_While(working); });
  };
  if (argc > 2 && std::string(argv[1]) == "--site-changes-in") {
    // Only site changes on a day of the year given (its period made first), for profiling.
    w->Go_To_Day(vk::CalendarToJD(std::atoi(argv[2]), 6, 1, 0, 0, 0));
    Wait_While(working);
    type_latitude().print("latitude typed + Enter to the new chart");
    return 0;
  }
  const Figure change = type_latitude();
  int days = 0;
  const double day0 = w->Chosen_Day();
  const Figure day = Measure([&] {
    w->Go_To_Day(day0 + (++days % 2));  // the chart of another day, nothing recomputed
    QApplication::processEvents();
  });
  int clicks = 0;
  const Figure click = Measure([&] {
    QPushButton* b = ++clicks % 2 ? plus : minus;
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));  // one step after the pause
    Wait_While(working);
  });
  // A held latitude button: released after 2.25 s; the steps counted from the field.
  Figure held;
  for (int run = 0; run < 6; ++run) {
    QPushButton* b = run % 2 ? minus : plus;
    const double before = vk::TryParseFloat(lat->text().toStdString()).value_or(0);
    const double c0 = CpuMs();
    const auto t0 = Clock::now();
    QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::qWait(2250);
    QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    Wait_While(working);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    const double c = CpuMs() - c0;
    const double steps = std::abs(vk::TryParseFloat(lat->text().toStdString()).value_or(0) - before) / 0.5;
    // The first step waits 250 ms; every later one follows the last recomputation at once.
    if (run > 0) held.add(steps / (s - 0.25), c / steps);
  }
  // A held day button: released after 1 s; the days counted.
  Figure held_day;
  for (int run = 0; run < 6; ++run) {
    w->Go_To_Day(day0);
    QApplication::processEvents();
    const double c0 = CpuMs();
    QTest::mousePress(day_plus, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::qWait(1000);
    QTest::mouseRelease(day_plus, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    const double c = CpuMs() - c0;
    const double stepped = w->Chosen_Day() - day0;
    // The first step at once, the second after 150 ms, then one a refresh.
    if (run > 0) held_day.add(stepped / 1.0, c / stepped);
  }
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  const double session_peak = ru.ru_maxrss / 1024.0;
  // After the session's peak, which stays comparable with earlier runs: the
  // chart enlarged by one step (Ctrl+Plus) to the enlarged chart on the
  // screen, each time a new chart; a drag moving it by 10 pixels; another
  // day's chart while enlarged; the peak after them.
  auto* view = w->findChild<QWidget*>("Image1");
  const Figure zoom = Measure(
      [&] {
        QTest::keyClick(w.get(), Qt::Key_Plus, Qt::ControlModifier);
        view->repaint();
      },
      [&] {
        QTest::keyClick(w.get(), Qt::Key_0, Qt::ControlModifier);
        w->Go_To_Day(day0 + (++days % 2));
        QApplication::processEvents();
      });
  QTest::keyClick(w.get(), Qt::Key_Plus, Qt::ControlModifier);
  QTest::keyClick(w.get(), Qt::Key_Plus, Qt::ControlModifier);
  QPoint mouse(400, 400);
  QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, mouse);
  const Figure pan = Measure([&] {
    mouse += QPoint(++days % 2 ? 10 : -10, 0);
    QTest::mouseMove(view, mouse);
    view->repaint();
  });
  QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, mouse);
  const Figure zoomed_day = Measure([&] {
    w->Go_To_Day(day0 + (++days % 2));
    QApplication::processEvents();
  });
  QTest::keyClick(w.get(), Qt::Key_0, Qt::ControlModifier);
  getrusage(RUSAGE_SELF, &ru);
  const double enlarged_peak = ru.ru_maxrss / 1024.0;

  // Another period, its tables made anew each run: to its chart, the peak
  // resident memory sampled meanwhile; then back into the made period.
  const double other_day = vk::CalendarToJD(1965, 6, 1, 0, 0, 0);
  w->Go_To_Day(day0);
  Wait_While(working);
  Figure making, back;
  std::vector<double> making_peak;
  for (int run = 0; run < 6; ++run) {
    std::filesystem::remove_all(o.cache_dir);
    double peak = 0;
    const double c0 = CpuMs();
    const auto t0 = Clock::now();
    w->Go_To_Day(other_day);
    Wait_While(computing, [&] { peak = std::max(peak, ResidentMb()); });
    if (run > 0) {
      making.add(std::chrono::duration<double, std::milli>(Clock::now() - t0).count(), CpuMs() - c0);
      making_peak.push_back(peak);
    }
    Wait_While(working);
    const double c1 = CpuMs();
    const auto t1 = Clock::now();
    w->Go_To_Day(day0);
    Wait_While(computing);
    if (run > 0) back.add(std::chrono::duration<double, std::milli>(Clock::now() - t1).count(), CpuMs() - c1);
    Wait_While(working);
  }
  // A site change inside the other period, its tables made.
  w->Go_To_Day(other_day);
  Wait_While(working);
  const Figure other_change = type_latitude();
  w->Go_To_Day(day0);
  Wait_While(working);
  // The memory of a closed window goes back to the allocator, not all of it
  // to the system: the process's peak after this counts more than one window.
  const Figure start = Measure([&] {
    w.reset();
    open();
  }, [&] { Wait_While(working); });
  start.print("start-up to the first chart painted");
  change.print("latitude typed + Enter to the new chart");
  day.print("another day's chart alone (no recomputation)");
  zoom.print("chart enlarged one step (Ctrl+Plus), on screen");
  pan.print("enlarged chart dragged 10 pixels, on screen");
  zoomed_day.print("another day's chart while enlarged");
  click.print("step button click to the new chart (+250 ms pause)");
  held.print("held latitude button", "steps/s");
  held_day.print("held day button (1 s)", "days/s");
  std::printf("%-52s %8.1f MB\n", "peak resident memory of the one window's session", session_peak);
  std::printf("%-52s %8.1f MB\n", "the same after enlarging, dragging, another day", enlarged_peak);
  making.print("a day of 1962-1972, its tables made, to its chart");
  std::printf("%-52s %8.1f MB   (min %.1f, max %.1f)\n", "peak resident memory while they are made",
              Median(making_peak), *std::min_element(making_peak.begin(), making_peak.end()),
              *std::max_element(making_peak.begin(), making_peak.end()));
  back.print("back into the made period 2022-2032 to its chart");
  other_change.print("latitude typed + Enter in 1962-1972 to the chart");
  w.reset();
  std::filesystem::remove_all(dir);
  return 0;
}
