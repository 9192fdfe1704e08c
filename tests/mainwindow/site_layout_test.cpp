// Site and zone controls, the layout, the about box.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "mainwindow/form_layout.h"
#include "support/run_tool.h"
#include "support/workspace.h"
#include "window_fixture.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

using test::Click_Step;
using test::Date_Of;
using test::WindowWorld;

TEST(Site, TypedLatitudeAndLongitude) {
  WindowWorld world;
  auto w = world.Open();
  // In turn, each after the one before: what is typed, what the field then
  // shows, the latitude or longitude in force, and a text the status bar holds.
  struct Case {
    const char* field;
    const char* typed;
    const char* shown;
    double in_force;
    const char* status;
  } cases[] = {
      {"Edit_nLat", "95", "90.00", 90.0, "Done."},
      {"Edit_nLat", "47,5", "47.50", 47.5, "Done."},  // the decimal comma
      {"Edit_nLat", " -33,87 ", "-33.87", -33.87, "Done."},
      {"Edit_nLat", "4.75E1", "47.50", 47.5, "Done."},
      {"Edit_nLat", "47,5,1", "47.50", 47.5, "Keine Breite: '47,5,1'"},  // not a number: the value in force stays
      {"Edit_nLat", "4.5,1", "47.50", 47.5, "Keine Breite: '4.5,1'"},
      {"Edit_eLon", "-200", "-180.00", -180.0, "Done."},
      {"Edit_eLon", "7,5", "7.50", 7.5, "Done."},
      {"Edit_eLon", "Ost", "7.50", 7.5, "Keine Länge: 'Ost'"},
      {"Edit_eLon", "", "7.50", 7.5, "Keine Länge: ''"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " '" + c.typed + "'");
    auto* field = test::Ctl<QLineEdit>(*w, c.field);
    field->setText(QString::fromUtf8(c.typed));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(test::Settle(*w));
    EXPECT_EQ(field->text().toStdString(), c.shown);
    const Site& site = w->Site_In_Force();
    EXPECT_EQ(std::string(c.field) == "Edit_nLat" ? site.Site_nLat : site.Site_eLon, c.in_force);
    EXPECT_TRUE(test::Ctl<QLabel>(*w, "StatusBar1")->text().startsWith(QString::fromUtf8(c.status)))
        << test::Ctl<QLabel>(*w, "StatusBar1")->text().toStdString();
  }
}

TEST(Site, StepButtonsClampAndStillRecompute) {
  WindowWorld world;
  auto w = world.Open();
  test::Ctl<QLineEdit>(*w, "Edit_nLat")->setText("-89.80");
  QTest::keyClick(test::Ctl<QLineEdit>(*w, "Edit_nLat"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_nLat_MinusSmall"));
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "-90.00");
  const auto before = std::filesystem::last_write_time(world.dir / "Vesperkalend_2022-2032_Log.txt");
  Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_nLat_MinusSmall"));
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "-90.00");
  EXPECT_GT(std::filesystem::last_write_time(world.dir / "Vesperkalend_2022-2032_Log.txt"), before)
      << "a step at the bound still recomputes";
  test::Ctl<QLineEdit>(*w, "Edit_eLon")->setText("179.5");
  QTest::keyClick(test::Ctl<QLineEdit>(*w, "Edit_eLon"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_eLon_PlusSmall"));
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_eLon")->text(), "180.00");
  test::Ctl<QLineEdit>(*w, "Edit_eLon")->setText("47.3");
  QTest::keyClick(test::Ctl<QLineEdit>(*w, "Edit_eLon"), Qt::Key_Return);
  ASSERT_TRUE(test::Settle(*w));
  Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_eLon_PlusSmall"));
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_eLon")->text(), "47.80") << "no snapping to the half-degree grid";
}

TEST(Site, ZoneChangeRecomputesAndKeepsTheDay) {
  WindowWorld world;
  auto w = world.Open();
  w->Go_To_Day(CalendarToJD(2024, 6, 21, 0, 0, 0));
  const QString memo = test::Ctl<QPlainTextEdit>(*w, "Memo1")->toPlainText();
  test::Ctl<QComboBox>(*w, "ComboBox_TZone")->setCurrentIndex(18);  // UTC+03:00: every local time two hours later
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(w->Site_In_Force().Site_TZ_Hours, 3.0);
  EXPECT_EQ(Date_Of(*w), "2024-06-21");
  EXPECT_NE(test::Ctl<QPlainTextEdit>(*w, "Memo1")->toPlainText(), memo);
  EXPECT_EQ(test::Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "47.50");
  // Text set without Enter changes nothing.
  test::Ctl<QComboBox>(*w, "ComboBox_TZone")->setEditText("UTC");
  EXPECT_EQ(w->Zone_Index(), 18);
  EXPECT_EQ(w->Site_In_Force().Site_TZ_Hours, 3.0);
}

TEST(Layout, WorkedExampleAndLimits) {
  const FormLayout l = ComputeFormLayout(1460, 834);
  EXPECT_EQ(l.left_width, 62);
  EXPECT_EQ(l.bild_height, 809);
  EXPECT_EQ(l.bild_width, 919);
  EXPECT_EQ(l.Chart_DispW, 919);
  EXPECT_EQ(l.Chart_DispH, 809);
  EXPECT_EQ(l.rght_left, 981);
  EXPECT_EQ(l.rght_width, 479);
  EXPECT_EQ(ComputeFormLayout(900, 900).left_width, 0);
  EXPECT_EQ(ComputeFormLayout(300, 900).left_width, 0) << "higher than wide: no margin";
  EXPECT_EQ(ComputeFormLayout(1460, 834, 446).rght_width, 479) << "room enough: the layout as it is";
  const FormLayout narrow = ComputeFormLayout(1240, 800, 446);
  EXPECT_EQ(narrow.rght_width, 446) << "the controls keep their width";
  EXPECT_EQ(narrow.bild_width, 1240 - narrow.left_width - 446);
  EXPECT_EQ(narrow.bild_height, 775);
  const FormLayout tiny = ComputeFormLayout(400, 150);
  EXPECT_EQ(tiny.Chart_DispW, 200);
  EXPECT_EQ(tiny.Chart_DispH, 176);
}

TEST(Layout, WindowFollowsItsSize) {
  WindowWorld world;
  auto w = world.Open();
  w->resize(1460, 834 + w->menuBar()->height());
  QApplication::processEvents();
  EXPECT_EQ(test::Ctl<QWidget>(*w, "Panel_Left")->width(), 62);
  EXPECT_EQ(test::Ctl<QWidget>(*w, "Panel_Rght")->x(), 981);
  EXPECT_EQ(w->Displayed_Chart().size(), QSize(919, 809));
}

TEST(AboutBox, ShowsTwiceAtTheSamePlaceAndHides) {
  WindowWorld world;
  auto w = world.Open();
  test::Ctl<QAction>(*w, "about1")->trigger();
  const QPoint first = test::Ctl<QWidget>(*w, "Panel_About")->pos();
  EXPECT_TRUE(test::Ctl<QWidget>(*w, "Panel_About")->isVisible());
  test::Ctl<QAction>(*w, "about1")->trigger();
  EXPECT_EQ(test::Ctl<QWidget>(*w, "Panel_About")->pos(), first);
  const QImage before = w->Displayed_Chart();
  QTest::mouseClick(test::Ctl<QPushButton>(*w, "Button_About_OK"), Qt::LeftButton);
  EXPECT_FALSE(test::Ctl<QWidget>(*w, "Panel_About")->isVisible());
  EXPECT_EQ(w->Displayed_Chart(), before);
  EXPECT_EQ(test::Ctl<QTableWidget>(*w, "StringGrid_VersionsInfo")->item(0, 0)->text(), "FileType        ");
  EXPECT_EQ(test::Ctl<QTableWidget>(*w, "StringGrid_VersionsInfo")->item(13, 1)->text(), "No");
}

}  // namespace
}  // namespace vk

namespace vk {
namespace {

TEST(PhasePictureTools, HiddenDisabledAndAMissingSourceIsReported) {
  test::WindowWorld world;
  auto w = world.Open();
  for (QPushButton* b : {test::Ctl<QPushButton>(*w, "Button_Monde_anpassen"), test::Ctl<QPushButton>(*w, "Button_Venus_anpassen"), test::Ctl<QPushButton>(*w, "Button_Merkur_anpassen")}) {
    EXPECT_FALSE(b->isVisible());
    EXPECT_FALSE(b->isEnabled());
  }
  EXPECT_EQ(test::Ctl<QPushButton>(*w, "Button_Venus_anpassen")->text(), "Venus anpassen");
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(world.dir.path());
  QPushButton* venus = test::Ctl<QPushButton>(*w, "Button_Venus_anpassen");
  venus->setEnabled(true);
  venus->click();
  std::filesystem::current_path(cwd);
  ASSERT_EQ(world.messages.size(), 1u);
  EXPECT_TRUE(world.messages[0].second.contains("File not found")) << world.messages[0].second.toStdString();
  EXPECT_TRUE(world.messages[0].second.contains("Venus_0100.jpg")) << world.messages[0].second.toStdString();
}

}  // namespace
}  // namespace vk

namespace vk {
namespace {

TEST(Site, TheWindowTakesInputWhileItComputesAndAfterAHeldButtonTheLogIsTheTools) {
  test::WindowWorld world;
  auto w = world.Open();
  QLineEdit* lat = test::Ctl<QLineEdit>(*w, "Edit_nLat");
  const QImage before = w->Displayed_Chart();
  lat->setText("50");
  QTest::keyClick(lat, Qt::Key_Return);
  EXPECT_TRUE(w->Computing()) << "Enter hands the computation to the worker and returns";
  EXPECT_EQ(w->Displayed_Chart(), before) << "the chart in force stays until the new table is taken";
  EXPECT_EQ(w->Site_In_Force().Site_nLat, 47.5);
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(w->Site_In_Force().Site_nLat, 50.0);
  EXPECT_NE(w->Displayed_Chart(), before);

  QPushButton* plus = test::Ctl<QPushButton>(*w, "BitBtn_nLat_PlusSmall");
  QTest::mousePress(plus, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(lat->text(), "50.50") << "the press steps the field at once";
  QTest::qWait(20);
  EXPECT_EQ(w->Site_In_Force().Site_nLat, 50.0) << "the computation waits for the pause of 250 ms";
  // Held until two steps are computed, however long a computation takes here.
  QElapsedTimer held;
  held.start();
  while (w->Site_In_Force().Site_nLat < 51.0 && held.elapsed() < 60000) QTest::qWait(2);
  QTest::mouseRelease(plus, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_TRUE(test::Settle(*w));
  const double last = w->Site_In_Force().Site_nLat;
  EXPECT_GE(last, 51.0) << "a held button steps after each finished computation";
  EXPECT_EQ(lat->text(), Site_Text(last));
  QTest::qWait(400);
  EXPECT_EQ(w->Site_In_Force().Site_nLat, last) << "and not after its release";

  test::Workspace tool;
  const test::ToolResult r = test::RunTool("compute --lat " + Site_Text(last).toStdString() +
                                           " --lon 7.5 --zone 16 --dir '" + tool.dir.path().string() + "'");
  ASSERT_EQ(r.status, 0) << r.both();
  EXPECT_TRUE(test::ReadFile(world.dir / "Vesperkalend_2022-2032_Log.txt") ==
              test::ReadFile(tool.dir / "Vesperkalend_2022-2032_Log.txt"))
      << "the window's log after the held button differs from the tool's for " << last;
}

}  // namespace
}  // namespace vk

namespace vk {
namespace {

// Every control of the right-hand panel where the layout puts it, in the
// panel's coordinates, whichever group widget holds it.
TEST(Layout, TheRightPanelsControlsStandWhereTheLayoutPutsThem) {
  test::WindowWorld world;
  auto w = world.Open();
  QWidget* panel = test::Ctl<QWidget>(*w, "Panel_Rght");
  const struct {
    const char* name;
    QRect at;
  } controls[] = {
      {"Shape2", {4, -1, 351, 170}},          {"RichEdit_Jahr", {18, 30, 141, 70}},
      {"RichEdit_Monat", {175, 30, 73, 70}},   {"RichEdit_Daag", {266, 30, 75, 70}},
      {"Label1", {159, 30, 21, 70}},           {"Label2", {250, 30, 21, 70}},
      {"BitBtn_Jahr_Plus", {32, 7, 125, 25}},  {"BitBtn_Monat_Plus", {191, 7, 57, 25}},
      {"BitBtn_Daag_Plus", {276, 7, 57, 25}},  {"BitBtn_Jahr_Minus", {32, 97, 125, 25}},
      {"BitBtn_Monat_Minus", {189, 97, 57, 25}}, {"BitBtn_Daag_Minus", {276, 97, 57, 25}},
      {"Button_Heute", {32, 130, 300, 29}},    {"CheckBox_Daemmerungen", {6, 180, 340, 30}},
      {"CheckBox_Auf_Untergaenge", {6, 212, 340, 30}}, {"CheckBox_Meridian", {6, 244, 340, 30}},
      {"Label_TZone", {6, 291, 62, 24}},       {"ComboBox_TZone", {79, 289, 108, 28}},
      {"Label_DST", {192, 291, 160, 24}},      {"Label_Ort", {6, 324, 62, 24}},
      {"ComboBox_Ort", {79, 322, 273, 28}},    {"Label_nLat", {6, 357, 200, 24}},
      {"Label_eLon", {6, 415, 200, 24}},       {"BitBtn_nLat_MinusSmall", {6, 382, 49, 25}},
      {"BitBtn_nLat_PlusSmall", {137, 382, 49, 25}}, {"BitBtn_eLon_MinusSmall", {6, 440, 49, 25}},
      {"BitBtn_eLon_PlusSmall", {137, 440, 49, 25}}, {"Edit_nLat", {68, 380, 64, 28}},
      {"Edit_eLon", {69, 439, 64, 28}},        {"Button_Venus_anpassen", {368, 48, 120, 41}},
  };
  for (const auto& c : controls) {
    QWidget* control = test::Ctl<QWidget>(*w, c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(QRect(control->mapTo(panel, QPoint(0, 0)), control->size()), c.at) << c.name;
  }
  EXPECT_EQ(w->minimumSize(), QSize(514, 519))
      << "the controls at their smallest beside the smallest chart; the hidden tools take no room";
}

}  // namespace
}  // namespace vk
