// What a user meets in the window: the zone box, bad stored sites, the about
// box in a small window, the minimum size, every mouse button, the keyboard.
#include <QComboBox>
#include <QLineEdit>
#include <QWheelEvent>
#include <cmath>
#include <limits>

#include "programfiles/settings_file.h"
#include "timecalc/calendar.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::Ctl;
using test::Date_Of;
using test::WindowWorld;

std::filesystem::file_time_type LogTime(const WindowWorld& world) {
  return std::filesystem::last_write_time(world.dir / "Vesperkalend_2022-2032_Log.txt");
}

// Types into the zone box as a user does: focus, select all, key by key.
void TypeZone(TForm_Main& w, const QString& text) {
  QComboBox* box = Ctl<QComboBox>(w, "ComboBox_TZone");
  box->setFocus();
  box->lineEdit()->selectAll();
  QTest::keyClicks(box->lineEdit(), text);
}

TEST(ZoneBox, TypedTextTakesEffectOnlyOnEnterAndOnlyForAnExactRow) {
  WindowWorld world;
  auto w = world.Open();
  QComboBox* box = Ctl<QComboBox>(*w, "ComboBox_TZone");
  const auto before = LogTime(world);
  TypeZone(*w, "U");
  EXPECT_EQ(box->currentText(), "U") << "no completion to a row the user never chose";
  TypeZone(*w, "UTC+02:00");
  EXPECT_EQ(w->Zone_Index(), 16) << "nothing happens before Enter";
  EXPECT_EQ(LogTime(world), before) << "typing key by key recomputes nothing";

  const struct {
    const char* typed;
    int zone;
    const char* shown;
  } rows[] = {{"utc", 15, "UTC"}, {"Mars", 15, "UTC"}, {"UTC+02:00", 17, "UTC+02:00"}, {"utc-12:00", 0, "UTC-12:00"},
              {"", 0, "UTC-12:00"}};
  for (const auto& r : rows) {
    TypeZone(*w, r.typed);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(test::Settle(*w));
    EXPECT_EQ(w->Zone_Index(), r.zone) << r.typed;
    EXPECT_EQ(box->currentText(), r.shown) << r.typed;
  }
  EXPECT_EQ(w->Site_In_Force().Site_TZ_Hours, -12.0);

  // Leaving the box counts as Enter.
  TypeZone(*w, "utc+01:00");
  Ctl<QLineEdit>(*w, "Edit_nLat")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(w->Zone_Index(), 16);
}

TEST(ZoneBox, ArrowKeysStepTheDateAndTheWheelNeedsTheFocus) {
  WindowWorld world;
  auto w = world.Open();
  QComboBox* box = Ctl<QComboBox>(*w, "ComboBox_TZone");
  box->setFocus();
  test::Key(w.get(), Qt::Key_Up);
  EXPECT_EQ(Date_Of(*w), "2024-04-09");
  test::Key(w.get(), Qt::Key_Down);
  test::Key(w.get(), Qt::Key_Down);
  EXPECT_EQ(Date_Of(*w), "2024-04-07");
  EXPECT_EQ(w->Zone_Index(), 16);

  auto wheel = [&] {
    const QPointF at(box->width() / 2.0, box->height() / 2.0);
    QWheelEvent e(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &e);
  };
  Ctl<QLineEdit>(*w, "Edit_nLat")->setFocus();
  wheel();
  EXPECT_EQ(w->Zone_Index(), 16) << "the wheel passing over the box changes nothing";
  box->setFocus();
  wheel();
  EXPECT_EQ(w->Zone_Index(), 17) << "with the focus the wheel turns the list";
}

TEST(StartUp, StoredSiteOutsideTheEarthFallsBackToTheFirstStartsSite) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double lat, lon;
  } rows[] = {{1000, 7.5}, {nan, 7.5}, {47.5, -181}, {47.5, std::numeric_limits<double>::infinity()}};
  for (const auto& r : rows) {
    WindowWorld world;
    SettingsRecord rec = DefaultSettings("1.0.0.0");
    rec.latitude = r.lat;
    rec.longitude = r.lon;
    rec.zone = 20;
    std::filesystem::create_directories(world.dir / "config");
    WriteSettingsFile(world.Settings(), rec);
    auto w = world.Open();
    EXPECT_EQ(Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "47.50") << r.lat << " " << r.lon;
    EXPECT_EQ(Ctl<QLineEdit>(*w, "Edit_eLon")->text(), "7.50") << r.lat << " " << r.lon;
    EXPECT_EQ(w->Zone_Index(), 20) << "the zone stays";
    test::Click_Step(Ctl<QPushButton>(*w, "BitBtn_nLat_PlusSmall"));
    EXPECT_EQ(Ctl<QLineEdit>(*w, "Edit_nLat")->text(), "48.00") << "the step buttons work again";
    w->close();
    SettingsRecord back{};
    ASSERT_TRUE(ReadSettingsFile(world.Settings(), back));
    const double lat = back.latitude;
    EXPECT_EQ(lat, 48.0) << "rewritten at close";
  }
}

TEST(StartUp, MissingDataIsNamedAndTheWindowStaysUsable) {
  WindowWorld world;
  FormOptions o = world.Options();
  o.data_error = "Vesperkalend_2022-2032_MOOMERVEN_Phase.txt: File not found in /a, /b or /c";
  auto w = world.Open(o);
  ASSERT_EQ(world.messages.size(), 1u);
  EXPECT_EQ(world.messages[0].second.toStdString(), o.data_error);
  test::Click_Step(Ctl<QPushButton>(*w, "BitBtn_Daag_Plus"));
  EXPECT_EQ(Date_Of(*w), "2024-04-09");
}

TEST(SmallWindow, EveryControlIsWholeAndTheAboutBoxReachable) {
  WindowWorld world;
  auto w = world.Open();
  for (const QSize asked : {QSize(1000, 700), QSize(600, 800), QSize(200, 200), QSize(1300, 1100)}) {
    w->resize(asked);
    QApplication::processEvents();
    EXPECT_GE(w->width(), w->minimumWidth());
    QWidget* panel = Ctl<QWidget>(*w, "Panel_Rght");
    for (QWidget* c : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (c->isHidden() || c->objectName() == "Shape2") continue;  // the date's black ground starts above the top
      EXPECT_TRUE(panel->rect().contains(c->geometry())) << c->objectName().toStdString() << " cut off at "
                                                         << asked.width() << " x " << asked.height();
    }
    Ctl<QAction>(*w, "about1")->trigger();
    QWidget* about = Ctl<QWidget>(*w, "Panel_About");
    QWidget* ok = Ctl<QPushButton>(*w, "Button_About_OK");
    const QRect ok_in_client(ok->mapTo(w->centralWidget(), QPoint(0, 0)), ok->size());
    EXPECT_TRUE(w->centralWidget()->rect().contains(ok_in_client)) << "OK outside the window";
    test::Key(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible()) << "Escape closes the box";
    EXPECT_TRUE(w->isVisible()) << "and not the program";
  }
}

TEST(StepButtons, EveryMouseButtonSteps) {
  WindowWorld world;
  auto w = world.Open();
  QPushButton* plus = Ctl<QPushButton>(*w, "BitBtn_Daag_Plus");
  int day = 8;
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    test::Click_Step(plus, button);
    EXPECT_EQ(Date_Of(*w), QString("2024-04-%1").arg(++day, 2, 10, QChar('0'))) << button;
    EXPECT_FALSE(w->Step_Repeating());
  }
}

TEST(Keyboard, TabOrderTooltipsAndFieldsShowTheValueInForce) {
  WindowWorld world;
  auto w = world.Open();
  const char* order[] = {"BitBtn_Jahr_Plus",  "BitBtn_Monat_Plus", "BitBtn_Daag_Plus", "RichEdit_Jahr",
                         "RichEdit_Monat",    "RichEdit_Daag",     "BitBtn_Jahr_Minus", "BitBtn_Monat_Minus",
                         "BitBtn_Daag_Minus", "Button_Heute",      "CheckBox_Daemmerungen",
                         "CheckBox_Auf_Untergaenge", "CheckBox_Meridian", "ComboBox_TZone", "ComboBox_Ort",
                         "BitBtn_nLat_MinusSmall", "Edit_nLat", "BitBtn_nLat_PlusSmall", "BitBtn_eLon_MinusSmall",
                         "Edit_eLon", "BitBtn_eLon_PlusSmall"};
  Ctl<QWidget>(*w, order[0])->setFocus();
  for (std::size_t i = 1; i < std::size(order); ++i) {
    test::Key(w.get(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();  // the box's line edit
    ASSERT_TRUE(focus);
    EXPECT_EQ(focus->objectName().toStdString(), order[i]) << "after " << order[i - 1];
  }
  const struct {
    const char* button;
    const char* tip;
  } tips[] = {{"BitBtn_Daag_Plus", "Tag vor"},           {"BitBtn_Monat_Minus", "Monat zurück"},
              {"BitBtn_Jahr_Plus", "Jahr vor"},           {"BitBtn_nLat_MinusSmall", "Breite −0,5°"},
              {"BitBtn_eLon_PlusSmall", "Länge +0,5°"}};
  for (const auto& t : tips) EXPECT_EQ(Ctl<QPushButton>(*w, t.button)->toolTip(), QString::fromUtf8(t.tip));

  const struct {
    const char* field;
    const char* typed;
    const char* in_force;
  } fields[] = {{"Edit_nLat", "12", "47.50"}, {"Edit_eLon", "abc", "7.50"}, {"RichEdit_Daag", "3", "08"},
                {"RichEdit_Jahr", "2029", "2024"}};
  for (const auto& f : fields) {
    QLineEdit* e = Ctl<QLineEdit>(*w, f.field);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, f.typed);
    Ctl<QPushButton>(*w, "Button_Heute")->setFocus();
    EXPECT_EQ(e->text(), f.in_force) << f.field;
  }
  EXPECT_EQ(Date_Of(*w), "2024-04-08");
}

}  // namespace
}  // namespace vk
