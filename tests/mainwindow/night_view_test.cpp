// The night view: key N, the colours of the window and the chart, the options file.
#include <QMenu>

#include "mainwindow/night_view.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::WindowWorld;

QAction* Night_Action(TForm_Main& w) {
  for (QAction* a : w.menuBar()->actions())
    if (a->menu() && a->text().remove('&') == "Ansicht")
      for (QAction* b : a->menu()->actions())
        if (b->text().remove('&') == "Nachtansicht") return b;
  return nullptr;
}

// Pixels of `img` whose green or blue exceeds red.
int Not_Red(const QImage& picture) {
  const QImage img = picture.convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) n += qGreen(row[x]) > qRed(row[x]) || qBlue(row[x]) > qRed(row[x]);
  }
  return n;
}

void Press_N(TForm_Main& w) {
  w.setFocus();  // not in a text field, where N would be typed
  QApplication::processEvents();
  QTest::keyClick(&w, Qt::Key_N);
  QApplication::processEvents();
}

TEST(NightView, KeyNSwitchesWindowAndChartToRedAndBack) {
  WindowWorld world;
  auto w = world.Open();
  QAction* night = Night_Action(*w);
  ASSERT_NE(night, nullptr);
  EXPECT_TRUE(night->isCheckable());
  EXPECT_FALSE(night->isChecked());
  const QImage day_chart = w->Displayed_Chart().copy();
  const QImage day_window = w->grab().toImage();
  EXPECT_GT(Not_Red(day_window), 10000);  // the normal view has its colours

  Press_N(*w);
  ASSERT_TRUE(night->isChecked());
  EXPECT_EQ(Not_Red(w->Displayed_Chart()), 0);
  EXPECT_EQ(Not_Red(w->grab().toImage()), 0);
  // Status texts coming in while on stay red too.
  w->Show_Status("Rechne …", StatusColour::Yellow);
  QApplication::processEvents();
  EXPECT_EQ(Not_Red(w->grab().toImage()), 0);
  w->Show_Status("", StatusColour::ButtonFace);

  Press_N(*w);
  ASSERT_FALSE(night->isChecked());
  EXPECT_EQ(w->Displayed_Chart(), day_chart);  // the normal colours exactly as before
  EXPECT_GT(Not_Red(w->grab().toImage()), 10000);
}

TEST(NightView, KeptInTheOptionsFileBesideTheSettings) {
  WindowWorld world;
  {
    auto w = world.Open();
    Press_N(*w);
    ASSERT_TRUE(Night_Action(*w)->isChecked());
  }
  const auto options = world.dir / "config" / kOptionsFileName;
  ASSERT_TRUE(std::filesystem::exists(options));
  EXPECT_NE(test::ReadFile(options).find("Nachtansicht=true"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(world.Settings()), 39u);  // the settings file stays as it is
  {
    auto w = world.Open();
    EXPECT_TRUE(Night_Action(*w)->isChecked());
    EXPECT_EQ(Not_Red(w->Displayed_Chart()), 0);
    Press_N(*w);
  }
  EXPECT_FALSE(Read_Night_View_Option(world.dir / "config"));
}

TEST(NightView, OptionFileTable) {
  test::TempDir dir;
  EXPECT_FALSE(Read_Night_View_Option(dir.path()));  // no file
  test::WriteFile(dir / kOptionsFileName, "[Ansicht]\nNachtansicht=true\n[Andere]\nWert=5\n");
  EXPECT_TRUE(Read_Night_View_Option(dir.path()));
  ASSERT_TRUE(Write_Night_View_Option(dir.path(), false));
  EXPECT_FALSE(Read_Night_View_Option(dir.path()));
  EXPECT_NE(test::ReadFile(dir / kOptionsFileName).find("Wert=5"), std::string::npos);  // other keys stay
  test::WriteFile(dir / kOptionsFileName, "kein INI \x01\x02");
  EXPECT_FALSE(Read_Night_View_Option(dir.path()));
  EXPECT_FALSE(Write_Night_View_Option(dir / "missing" / "deeper", true) &&
               !std::filesystem::exists(dir / "missing" / "deeper" / kOptionsFileName));
}

}  // namespace
}  // namespace vk
