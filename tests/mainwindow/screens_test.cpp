// Small screens, the enlarged chart and high resolution: every control within
// the window, the chart enlarged by keys, wheel and menu and moved by dragging.
#include <QCheckBox>
#include <QFontMetricsF>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "chart/day_chart.h"
#include "mainwindow/chart_view.h"
#include "mainwindow/form_layout.h"
#include "window_fixture.h"

namespace vk {
namespace {

TEST(SmallScreens, TheRightPanelShrinksToTheWindowsHeight) {
  const struct {
    const char* label;
    int client_width, client_height;
    double scale;
    int rght_width, bild_width;
  } cases[] = {
      {"documented size: as it is", 1460, 834, 1.0, 479, 919},
      {"1366 x 768 without bars: full size", 1366, 746, 1.0, 485, 819},
      {"1366 x 768 with bars", 1366, 676, 651.0 / 678, 557, 740},
      {"1024 x 600 without bars", 1024, 576, 551.0 / 678, 363, 617},
      {"1024 x 600 with bars", 1024, 508, 483.0 / 678, 424, 549},
      {"lower still: the smallest size", 1024, 400, kMinPanelScale, 536, 426},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const FormLayout l = ComputeFormLayout(c.client_width, c.client_height, 446, 678);
    EXPECT_DOUBLE_EQ(l.panel_scale, c.scale);
    EXPECT_EQ(l.rght_width, c.rght_width);
    EXPECT_EQ(l.bild_width, c.bild_width);
    EXPECT_GE(l.rght_width, std::ceil(446 * l.panel_scale)) << "the controls keep their shrunk width";
  }
}

// Visible controls of the right panel, its group panels left out.
std::vector<QWidget*> Panel_Controls(QWidget* panel) {
  std::vector<QWidget*> controls;
  for (QWidget* c : panel->findChildren<QWidget*>()) {
    if (!c->isVisible() || c->metaObject() == &QWidget::staticMetaObject) continue;
    QWidget* owner = c->parentWidget();
    while (owner != panel && owner->metaObject() == &QWidget::staticMetaObject) owner = owner->parentWidget();
    if (owner == panel) controls.push_back(c);  // not a part of another control
  }
  return controls;
}

TEST(SmallScreens, EveryControlAndTheStatusBarLieInsideTheWindow) {
  test::WindowWorld world;
  auto w = world.Open();
  const int menu = w->menuBar()->height();
  const struct {
    const char* label;
    QSize window;
  } screens[] = {
      {"1024 x 600, the whole screen", {1024, 600}},
      {"1024 x 600 less a title bar of 30 and a task bar of 40", {1024, 530}},
      {"1366 x 768, the whole screen", {1366, 768}},
      {"1366 x 768 less title and task bars", {1366, 698}},
      {"the documented size", {1460, 834 + menu}},
      {"the smallest window: fonts at their least", w->minimumSize()},
  };
  EXPECT_LE(w->minimumHeight(), 530) << "the smallest window fits a 1024 x 600 screen with its bars";
  EXPECT_LE(w->minimumWidth(), 1024);
  for (const auto& s : screens) {
    SCOPED_TRACE(s.label);
    w->resize(s.window);
    QApplication::processEvents();
    ASSERT_EQ(w->size(), s.window);
    QWidget* client = w->centralWidget();
    auto* status = test::Ctl<QLabel>(*w, "StatusBar1");
    EXPECT_TRUE(status->isVisible());
    EXPECT_TRUE(client->rect().contains(QRect(status->mapTo(client, QPoint()), status->size())));
    const QRect above_status(0, 0, client->width(), status->y());
    QWidget* panel = test::Ctl<QWidget>(*w, "Panel_Rght");
    const auto controls = Panel_Controls(panel);
    ASSERT_GE(controls.size(), 25u);
    for (QWidget* c : controls) {
      const QRect at(c->mapTo(client, QPoint()), c->size());
      const char* name = c->objectName().isEmpty() ? c->metaObject()->className() : qPrintable(c->objectName());
      EXPECT_TRUE(above_status.contains(at)) << name << " at " << at.x() << "," << at.y() << " " << at.width()
                                             << "x" << at.height();
      EXPECT_GE(at.left(), test::Ctl<QWidget>(*w, "Panel_Bild")->geometry().right()) << name << " over the chart";
      EXPECT_GE(c->font().pixelSize(), 9) << name << ": text too small to read";
    }
  }
  // Back at the documented size, every control where it was.
  w->resize(1460, 834 + menu);
  QApplication::processEvents();
  EXPECT_EQ(test::Ctl<QWidget>(*w, "Edit_eLon")->geometry(), QRect(69 - 6, 439 - 357, 64, 28));
  EXPECT_EQ(test::Ctl<QWidget>(*w, "RichEdit_Jahr")->font().pixelSize(), 53);
  EXPECT_EQ(test::Ctl<QWidget>(*w, "Button_Heute")->font().pixelSize(), 23);
}

// The wheel over the chart, as the window system sends it.
void Wheel(QWidget* view, QPoint at, int notches) {
  QWheelEvent e(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &e);
}

// A window over the whole of a 1366 x 768 screen, and its chart.
struct At1366x768 {
  test::WindowWorld world;
  std::unique_ptr<TForm_Main> w = world.Open();
  ChartView* view = nullptr;
  At1366x768() {
    w->resize(1366, 768);
    QApplication::processEvents();
    view = test::Ctl<ChartView>(*w, "Image1");
  }
};

TEST(ChartZoom, KeysWheelAndMenuEnlargeUpToOneToOneAndDraggingMoves) {
  At1366x768 screen;
  auto& w = screen.w;
  ChartView* view = screen.view;
  const qint64 chart_before = w->Chart().Img.cacheKey();
  const QString memo_before = test::Ctl<QPlainTextEdit>(*w, "Memo1")->toPlainText();
  const double max = view->Max_Zoom();
  ASSERT_NEAR(view->Scale() * max * view->devicePixelRatioF(), 1.0, 1e-9) << "at most one chart pixel a pixel";
  // In turn, each from where the one before left the view.
  const struct {
    const char* label;
    std::function<void()> act;
    double zoom;
  } steps[] = {
      {"Ctrl+Minus when fitted: stays", [&] { test::Key(w.get(), Qt::Key_Minus, Qt::ControlModifier); }, 1.0},
      {"Ctrl+Plus", [&] { test::Key(w.get(), Qt::Key_Plus, Qt::ControlModifier); }, 1.25},
      {"Ctrl+= (no shift on many keyboards)", [&] { test::Key(w.get(), Qt::Key_Equal, Qt::ControlModifier); }, 1.5625},
      {"Ctrl+Minus", [&] { test::Key(w.get(), Qt::Key_Minus, Qt::ControlModifier); }, 1.25},
      {"wheel one notch up", [&] { Wheel(view, {200, 300}, 1); }, 1.5625},
      {"wheel one notch down", [&] { Wheel(view, {200, 300}, -1); }, 1.25},
      {"wheel far up: one to one", [&] { Wheel(view, {200, 300}, 20); }, max},
      {"Ctrl+Plus at one to one: stays", [&] { test::Key(w.get(), Qt::Key_Plus, Qt::ControlModifier); }, max},
      {"Ctrl+0: the whole chart", [&] { test::Key(w.get(), Qt::Key_0, Qt::ControlModifier); }, 1.0},
      {"menu Vergrößern", [&] { test::Ctl<QAction>(*w, "Vergroessern1")->trigger(); }, 1.25},
      {"menu Verkleinern", [&] { test::Ctl<QAction>(*w, "Verkleinern1")->trigger(); }, 1.0},
      {"wheel far down: fitted", [&] { Wheel(view, {10, 10}, 3); Wheel(view, {10, 10}, -9); }, 1.0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.label);
    s.act();
    QApplication::processEvents();
    EXPECT_NEAR(view->Zoom(), s.zoom, 1e-9);
  }
  EXPECT_EQ(view->Offset(), QPointF(0, 0)) << "fitted: the whole chart from its corner";

  // The wheel keeps the chart's point under the mouse where it is.
  const QPoint mouse(300, 200);
  const QPointF under = view->Offset() + QPointF(mouse) / view->Scale();
  Wheel(view, mouse, 2);
  EXPECT_NEAR(view->Zoom(), 1.5625, 1e-9);
  const QPointF still = view->Offset() + QPointF(mouse) / view->Scale();
  EXPECT_NEAR(still.x(), under.x(), 1e-6);
  EXPECT_NEAR(still.y(), under.y(), 1e-6);

  // Dragging moves the chart with the mouse, never past its edges.
  enum Ends { WithTheMouse, TopLeft, BottomRight };
  const struct {
    const char* label;
    QPoint from, to;
    Ends ends;
  } drags[] = {
      {"left and up by 40, 30", {400, 400}, {360, 370}, WithTheMouse},
      {"far right and down", {100, 100}, {700, 700}, TopLeft},
      {"far left and up", {700, 700}, {10, 10}, BottomRight},
  };
  for (const auto& d : drags) {
    SCOPED_TRACE(d.label);
    const QPointF before = view->Offset();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, d.from);
    EXPECT_EQ(view->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(view, (d.from + d.to) / 2);
    QTest::mouseMove(view, d.to);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, d.to);
    EXPECT_EQ(view->cursor().shape(), Qt::OpenHandCursor);
    const QPointF expected = d.ends == WithTheMouse ? before - QPointF(d.to - d.from) / view->Scale()
                             : d.ends == TopLeft
                                 ? QPointF(0, 0)
                                 : QPointF(2500 - view->width() / view->Scale(), 2200 - view->height() / view->Scale());
    EXPECT_NEAR(view->Offset().x(), expected.x(), 1e-6);
    EXPECT_NEAR(view->Offset().y(), expected.y(), 1e-6);
  }
  EXPECT_EQ(w->Chart().Img.cacheKey(), chart_before) << "enlarging and moving drew no new chart";
  EXPECT_EQ(test::Ctl<QPlainTextEdit>(*w, "Memo1")->toPlainText(), memo_before);

  // Another day keeps the enlargement and shows that day's chart.
  const QImage shown = view->grab().toImage();
  test::Click_Step(test::Ctl<QPushButton>(*w, "BitBtn_Daag_Plus"));
  QApplication::processEvents();
  EXPECT_NEAR(view->Zoom(), 1.5625, 1e-9);
  EXPECT_NE(view->grab().toImage(), shown);
}

// Before the first chart: the wheel, the keys' steps and a drag change nothing and break nothing.
TEST(ChartZoom, AViewWithoutAChartStaysFitted) {
  ChartView view;
  view.resize(200, 176);
  const QImage none;
  for (const QImage* shown : {static_cast<const QImage*>(nullptr), &none}) {
    view.setImage(shown, shown);
    Wheel(&view, {50, 50}, 3);
    view.Zoom_By(2);
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, {50, 50});
    QTest::mouseMove(&view, {10, 10});
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, {10, 10});
    EXPECT_EQ(view.Zoom(), 1.0);
    EXPECT_EQ(view.Offset(), QPointF(0, 0));
    const QImage drawn = view.grab().toImage();
    EXPECT_EQ(drawn.pixelColor(100, 88), QColor(128, 128, 128)) << "the grey panel";
  }
}

// The event list's letters at 1366 x 768: too small when fitted, readable enlarged.
TEST(ChartZoom, EventTextReadableWhenEnlargedAt1366x768) {
  At1366x768 screen;
  auto& w = screen.w;
  ChartView* view = screen.view;
  const double letters = QFontMetricsF(List_Font()).capHeight();  // a capital's height, chart pixels
  EXPECT_LT(view->Scale() * letters, 9.0) << "fitted, the list is hard to read (why one enlarges)";
  int presses = 0;
  while (view->Scale() * letters < 9.0 && presses < 20) {
    test::Key(w.get(), Qt::Key_Plus, Qt::ControlModifier);
    ++presses;
  }
  EXPECT_GE(view->Scale() * letters, 9.0);
  EXPECT_LE(presses, 3) << "a few presses suffice";
}

// A chart of thin lines: they blur when a bitmap of the fitted size is stretched.
QImage Thin_Lines() {
  QImage full(2500, 2200, QImage::Format_RGB32);
  full.fill(Qt::white);
  QPainter p(&full);
  for (int x = 0; x < 2500; x += 25) p.fillRect(x, 0, 6, 2200, Qt::black);
  return full;
}

TEST(HighResolution, TheChartIsDrawnAtTheDevicesResolution) {
  const QImage full = Thin_Lines();
  ChartView view;
  view.resize(250, 220);  // a tenth of the chart
  // As the window hands it over: fitted for a screen of ratio 1, and full size.
  QImage shown = full.scaled(250, 220, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  view.setImage(&shown, &full);
  const struct {
    const char* label;
    double ratio;
  } devices[] = {{"ordinary screen", 1.0}, {"200 %", 2.0}, {"150 %", 1.5}};
  for (const auto& d : devices) {
    SCOPED_TRACE(d.label);
    const QSize pixels = (QSizeF(250, 220) * d.ratio).toSize();
    QImage screen(pixels, QImage::Format_RGB32);
    screen.setDevicePixelRatio(d.ratio);
    view.render(&screen);
    const QImage sharp = full.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int worst = 0;
    for (int y = 0; y < pixels.height(); y += 7)
      for (int x = 0; x < pixels.width(); ++x)
        worst = std::max(worst, std::abs(qGray(screen.pixel(x, y)) - qGray(sharp.pixel(x, y))));
    EXPECT_LE(worst, 2) << "drawn from the full-size chart at " << pixels.width() << " x " << pixels.height();
  }
}

}  // namespace
}  // namespace vk
