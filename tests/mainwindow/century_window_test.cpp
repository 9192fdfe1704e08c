// The window over the century: typed years stop at the span's ends, a period
// is made with the bar and its stop button shown, "Abbrechen" goes back.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cstdlib>

#include "ephemeris/period.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::Date_Of;
using test::WindowWorld;

void Type(TForm_Main& w, const char* field, const char* text) {
  test::Ctl<QLineEdit>(w, field)->setText(text);
  QTest::keyClick(test::Ctl<QLineEdit>(w, field), Qt::Key_Return);
}

// Runs the event loop until the window is idle, keeping the first time the
// progress bar was seen (and a picture of the window then, when asked for).
bool SettleSeeingTheBar(TForm_Main& w, bool& bar_seen) {
  QElapsedTimer t;
  t.start();
  while (w.Working() && t.elapsed() < 60000) {
    QTest::qWait(5);
    auto* bar = test::Ctl<QProgressBar>(w, "ProgressBar_Tabellen");
    if (!bar_seen && bar->isVisible() && bar->value() > 100) {
      bar_seen = true;
      if (const char* shot = std::getenv("VK_WINDOW_SHOT")) w.grab().save(shot);
    }
  }
  QApplication::processEvents();
  return !w.Working();
}

TEST(CenturyWindow, TypedYearsStopAtTheSpanAndAPeriodIsMadeWithItsBar) {
  WindowWorld world;
  for (const char* name : {kCoefficientFileName, kConstellationFileName})
    std::filesystem::create_symlink(std::filesystem::absolute(test::kBuildData / name), world.data.dir / name);
  auto w = world.Open();
  ASSERT_EQ(Date_Of(*w), "2024-04-08");

  bool bar_seen = false;
  Type(*w, "RichEdit_Jahr", "1900");
  ASSERT_TRUE(SettleSeeingTheBar(*w, bar_seen));
  EXPECT_EQ(Date_Of(*w), "1960-04-08");
  EXPECT_TRUE(bar_seen) << "the bar while 1960-1962 was made";
  EXPECT_FALSE(test::Ctl<QProgressBar>(*w, "ProgressBar_Tabellen")->isVisible());
  EXPECT_EQ(w->Almanac_In_Force().ephemeris.period(), (tPeriod{1960, 1962}));
  EXPECT_TRUE(std::filesystem::exists(world.dir / "cache" / "HORIZONS_daten_1960-1962_MOO.bin"));

  // Into 1962-1972 and "Abbrechen" while it is made: back on 1961-12-31.
  Type(*w, "RichEdit_Jahr", "1969");
  QElapsedTimer t;
  t.start();
  auto* stop = test::Ctl<QPushButton>(*w, "Button_Abbrechen");
  while (!stop->isVisible() && t.elapsed() < 30000) QTest::qWait(2);
  QTest::mouseClick(stop, Qt::LeftButton);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(Date_Of(*w), "1961-12-31");
  EXPECT_EQ(w->Almanac_In_Force().ephemeris.period(), (tPeriod{1960, 1962}));
  EXPECT_TRUE(world.messages.empty());

  Type(*w, "RichEdit_Jahr", "2100");
  ASSERT_TRUE(SettleSeeingTheBar(*w, bar_seen));
  EXPECT_EQ(Date_Of(*w), "2059-12-31");
}

}  // namespace
}  // namespace vk
