// Choosing a place in the window, offscreen: from the choice (Enter on the
// typed name) to the new chart on screen, which includes the recomputation for
// the new site. Median of 5 choices after one that warms the caches.
// Run: build/bin/vk_bench_place_choice
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench_form_options.h"
#include "mainwindow/form_main.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const auto dir = std::filesystem::temp_directory_path() / "vk-bench-place";
  vk::FormOptions o = BenchFormOptions(dir);
  vk::TForm_Main w(o);
  w.resize(1460, 864);
  w.show();
  QApplication::processEvents();
  auto* box = w.findChild<QComboBox*>("ComboBox_Ort");
  if (!box || !box->isEnabled()) {
    std::fprintf(stderr, "vk_bench_place_choice: no place box (no tz database?)\n");
    return 1;
  }
  const char* places[] = {"Sydney", "Tokyo", "Zurich", "Phoenix", "New York", "Lord Howe"};
  std::vector<double> ms;
  for (const char* place : places) {
    box->lineEdit()->setFocus();
    box->lineEdit()->setText(place);
    const auto t0 = std::chrono::steady_clock::now();
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);  // chooses, recomputes, draws and repaints
    QApplication::processEvents();
    const double t = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    if (place != places[0]) ms.push_back(t);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("choosing a place to the new chart on screen, median of 5: %.0f ms (min %.0f, max %.0f)\n",
              ms[ms.size() / 2], ms.front(), ms.back());
  std::filesystem::remove_all(dir);
  return 0;
}
