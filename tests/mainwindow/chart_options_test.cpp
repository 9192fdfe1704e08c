// The chart options of "Ansicht": "Fotografenlicht" and the reading aids,
// kept in the options file; the present moment's line on a pinned clock; the
// tooltip over a bar.
#include <QCheckBox>
#include <QMenu>
#include <QToolTip>

#include "language/translations.h"
#include "mainwindow/chart_view.h"
#include "mainwindow/events_dialog.h"
#include "mainwindow/options_file.h"
#include "support/chart_fixtures.h"
#include "window_fixture.h"

namespace vk {
namespace {

using test::WindowWorld;

QMenu* ViewMenu(TForm_Main& w) {
  for (QAction* a : w.menuBar()->actions())
    if (a->menu() != nullptr && a->menu()->title().remove('&') == "Ansicht") return a->menu();
  return nullptr;
}

// Opens "Ansicht" with the mouse and clicks the action named `name`.
void ClickViewAction(TForm_Main& w, const char* name) {
  QMenu* view = ViewMenu(w);
  ASSERT_NE(view, nullptr);
  QMenuBar* bar = w.menuBar();
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(view->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->actionGeometry(test::Ctl<QAction>(w, name)).center());
  ASSERT_TRUE(test::Settle(w));
  QApplication::processEvents();
}

TEST(ChartOptions, EachChoiceDrawsAtOnceAndIsKeptForTheNextStart) {
  const struct {
    const char* action;
    const char* text;
    bool checked;           // by default
    const char* key;        // in the options file
    std::uint8_t DayChart::*flag;
  } cases[] = {
      {"Fotolicht1", "Fotografenlicht", false, "PhotoLight", &DayChart::Show_Fotolicht},
      {"Fuehrungslinien1", "Beschriftung mit Führungslinien", true, "LeaderLines", &DayChart::Show_Leaders},
      {"Legende1", "Legende der Spalten", true, "Legend", &DayChart::Show_Legend},
  };
  WindowWorld world;
  const auto options = world.dir / "config" / kOptionsFileName;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    {
      auto w = world.Open();
      QAction* a = test::Ctl<QAction>(*w, c.action);
      EXPECT_EQ(a->text().remove('&'), c.text);
      EXPECT_EQ(a->isChecked(), c.checked);
      EXPECT_EQ(w->Chart().*c.flag, c.checked ? 1 : 0);
      const QImage before = w->Displayed_Chart().copy();
      ClickViewAction(*w, c.action);
      EXPECT_EQ(a->isChecked(), !c.checked);
      EXPECT_EQ(w->Chart().*c.flag, c.checked ? 0 : 1);
      EXPECT_NE(w->Displayed_Chart(), before) << "drawn again with the choice";
      EXPECT_NE(test::ReadFile(options).find(std::string(c.key) + "=" + (c.checked ? "false" : "true")),
                std::string::npos);
    }
    auto again = world.Open();
    EXPECT_EQ(test::Ctl<QAction>(*again, c.action)->isChecked(), !c.checked);
    EXPECT_EQ(again->Chart().*c.flag, c.checked ? 0 : 1);
  }
  EXPECT_TRUE(world.messages.empty());
}

// A value that is no choice is read as none, so the default holds.
TEST(ChartOptions, TheirKeysReadTrueFalseOrNone) {
  test::TempDir dir;
  const auto path = dir / kOptionsFileName;
  const struct {
    const char* value;
    std::optional<bool> read;
  } cases[] = {{"true", true}, {"FALSE", false}, {" True ", true}, {"maybe", std::nullopt}, {"", std::nullopt}};
  for (const auto& c : cases) {
    test::WriteFile(path, std::string("[View]\nPhotoLight=") + c.value + "\nLeaderLines=" + c.value + "\nLegend=" +
                              c.value + "\nNowLine=" + c.value + "\n");
    const WindowOptions o = ReadOptionsFile(path);
    EXPECT_EQ(o.fotolicht, c.read) << c.value;
    EXPECT_EQ(o.leaders, c.read) << c.value;
    EXPECT_EQ(o.legend, c.read) << c.value;
    EXPECT_EQ(o.now_line, c.read) << c.value;
  }
}

TEST(ChartOptions, TheGoldenAndBlueHoursAreListedWithTheBands) {
  WindowWorld world;
  auto w = world.Open();
  const auto light = [&] {
    int n = 0;
    for (const tListedEvent& e : w->Chart().Listed_Events)
      n += CategoryOf("Sonne", w->Almanac_In_Force().events.Event_Tab[static_cast<std::size_t>(e.index)].event) ==
                   EventCategory::PhotoLight
               ? 1
               : 0;
    return n;
  };
  EXPECT_EQ(light(), 0);
  ClickViewAction(*w, "Fotolicht1");
  EXPECT_EQ(light(), 4) << "two bounds in the morning, two in the evening at 47.5 N in April";
}

TEST(ChartOptions, ThePresentMomentOnTodaysChartFromThePinnedClock) {
  WindowWorld world;
  // 2024-04-08 10:00 UTC: 12:00 in summer time at the start-up site (zone UTC+1).
  world.now = QDateTime(QDate(2024, 4, 8), QTime(10, 0), Qt::UTC);
  auto w = world.Open();
  ASSERT_TRUE(w->Chart().Now_Local_JD.has_value());
  EXPECT_NEAR(*w->Chart().Now_Local_JD, CalendarToJD(2024, 4, 8, 12, 0, 0), 1e-9);
  EXPECT_EQ(test::Rgb(w->Chart().Img, 500, 1100), test::Rgb(kNowColour));
  // Another day: no line.
  test::Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_Daag_Plus"));
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_NE(test::Rgb(w->Chart().Img, 500, 1100), test::Rgb(kNowColour));
  test::Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_Daag_Minus"));
  ASSERT_TRUE(test::Settle(*w));
  EXPECT_EQ(test::Rgb(w->Chart().Img, 500, 1100), test::Rgb(kNowColour));
  // Switched off: gone, and no moment kept.
  ClickViewAction(*w, "Jetzt_Linie1");
  EXPECT_FALSE(w->Chart().Now_Local_JD.has_value());
  EXPECT_NE(test::Rgb(w->Chart().Img, 500, 1100), test::Rgb(kNowColour));
}

// The calendar's box of the golden and blue hours: off by default, and
// disabled, saying why, while the table in force does not hold them.
TEST(ChartOptions, TheCalendarsGoldenHourBoxNeedsFotografenlicht) {
  EventsDialog d(nullptr, QDate(2024, 4, 1), QDate(2022, 1, 1), QDate(2031, 12, 31));
  QCheckBox* box = nullptr;
  for (std::size_t k = 0; k < Event_Groups.size(); ++k)
    if (Event_Groups[k].group == EventCategory::PhotoLight) box = d.Kind_Boxes[k];
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(d.Kinds(), kDefaultGroups);
  box->setChecked(true);
  d.Offer_Photo_Light(false);
  EXPECT_FALSE(box->isEnabled());
  EXPECT_FALSE(box->isChecked());
  EXPECT_FALSE(box->toolTip().isEmpty());
  EXPECT_EQ(d.Kinds() & Group_Bit(EventCategory::PhotoLight), 0u);
  d.Offer_Photo_Light(true);
  box->setChecked(true);
  EXPECT_TRUE(box->isEnabled());
  EXPECT_EQ(d.Kinds(), kDefaultGroups | Group_Bit(EventCategory::PhotoLight));
}

TEST(ChartOptions, TheTooltipNamesTheBodyUnderThePointer) {
  WindowWorld world;
  auto w = world.Open();
  auto* view = w->findChild<ChartView*>("Image1");
  ASSERT_NE(view, nullptr);
  const QSize shown = w->Displayed_Chart().size().scaled(view->size(), Qt::KeepAspectRatio);
  const auto widget_point = [&](QPoint chart_point) {
    return QPoint(chart_point.x() * shown.width() / kChartWidth, chart_point.y() * shown.height() / kChartHeight);
  };
  const std::vector<tChartHotspot> spots = Chart_Hotspots(w->Chart());
  ASSERT_FALSE(spots.empty());
  const auto tooltip_at = [&](QPoint pos) {
    QHelpEvent help(QEvent::ToolTip, pos, view->mapToGlobal(pos));
    QApplication::sendEvent(view, &help);
    QApplication::processEvents();
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  // Above the plot: the view's own hint.
  EXPECT_EQ(tooltip_at(widget_point(QPoint(500, 60))), view->toolTip());
  const tChartHotspot& first = spots.front();
  const QString text = tooltip_at(widget_point(first.rect.center()));
  const std::string name(BodyText(BodyNames[Body_Charts[static_cast<std::size_t>(first.body)].body], UiLanguage()));
  EXPECT_TRUE(text.startsWith(QString::fromStdString(name))) << text.toStdString();
  EXPECT_TRUE(text.contains("Aufgang:")) << text.toStdString();
}

}  // namespace
}  // namespace vk
