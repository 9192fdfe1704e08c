// The chart options of the menu "Ansicht": "Fotografenlicht" (the golden and
// blue hours) and the reading aids (labels without overlaps, the legend, the
// line of the present moment), kept in the options file; the present moment
// redrawn each minute, and the tooltips over the bars and pictures.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>
#include <QToolTip>
#include <cmath>

#include "events/site.h"
#include "mainwindow/chart_view.h"
#include "mainwindow/form_main.h"
#include "mainwindow/options_file.h"

namespace vk {

namespace {

// Unix seconds of 1970-01-01 00:00 UTC as a Julian day.
constexpr double kUnixEpochJD = 2440587.5;

}  // namespace

void TForm_Main::Build_Chart_Options(QMenu* view) {
  view->addSeparator();
  const auto add = [&](const char* object, const char* text) {
    QAction* a = view->addAction(QCoreApplication::translate("Window", text));
    a->setObjectName(object);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this] { Guarded([&] { Chart_Option_Click(); }); });
    return a;
  };
  Fotolicht1 = add("Fotolicht1", QT_TRANSLATE_NOOP("Window", "&Fotografenlicht"));
  Fuehrungslinien1 = add("Fuehrungslinien1", QT_TRANSLATE_NOOP("Window", "Beschriftung mit &Führungslinien"));
  Legende1 = add("Legende1", QT_TRANSLATE_NOOP("Window", "&Legende der Spalten"));
  Jetzt_Linie1 = add("Jetzt_Linie1", QT_TRANSLATE_NOOP("Window", "&Jetzt-Linie"));
  const DisplayFlags defaults;
  Fotolicht1->setChecked(defaults.fotolicht);
  Fuehrungslinien1->setChecked(defaults.leaders);
  Legende1->setChecked(defaults.legend);
  Jetzt_Linie1->setChecked(defaults.now_line);
  // The present moment moves on: its line is drawn again at each minute.
  now_timer_ = new QTimer(this);
  now_timer_->setInterval(60 * 1000);
  connect(now_timer_, &QTimer::timeout, this, [this] {
    if (created_ && session_->Flags().now_line) Guarded([&] { Render_Chart(); });
  });
  now_timer_->start();
}

// The session's flags with the chart options as the menu's check marks say.
DisplayFlags TForm_Main::Chart_Option_Flags() const {
  DisplayFlags f = session_->Flags();
  f.fotolicht = Fotolicht1->isChecked();
  f.leaders = Fuehrungslinien1->isChecked();
  f.legend = Legende1->isChecked();
  f.now_line = Jetzt_Linie1->isChecked();
  return f;
}

void TForm_Main::Load_Chart_Options(const WindowOptions& o) {
  Fotolicht1->setChecked(o.fotolicht.value_or(Fotolicht1->isChecked()));
  Fuehrungslinien1->setChecked(o.leaders.value_or(Fuehrungslinien1->isChecked()));
  Legende1->setChecked(o.legend.value_or(Legende1->isChecked()));
  Jetzt_Linie1->setChecked(o.now_line.value_or(Jetzt_Linie1->isChecked()));
  session_->Set_Flags(Chart_Option_Flags());
}

void TForm_Main::Chart_Option_Click() {
  const DisplayFlags f = Chart_Option_Flags();
  session_->Set_Flags(f);
  WindowOptions o = ReadOptionsFile(Options_Path());
  o.fotolicht = f.fotolicht;
  o.leaders = f.leaders;
  o.legend = f.legend;
  o.now_line = f.now_line;
  WriteOptionsFile(Options_Path(), o);
}

void TForm_Main::Sync_Now() {
  chart.Now_Local_JD.reset();
  if (!session_->Flags().now_line) return;
  const QDateTime now = options_.now();
  if (!now.isValid()) return;
  const double jd_ut = kUnixEpochJD + static_cast<double>(now.toMSecsSinceEpoch()) / 86400000.0;
  chart.Now_Local_JD = LocalJD(jd_ut, session_->In_Force().site);
}

bool TForm_Main::Show_Chart_Tooltip(const QPoint& global, const QPoint& pos) {
  const std::optional<QPointF> at = Image1->Chart_Fraction(pos);
  std::optional<int> body;
  if (at) {
    const QPoint point(static_cast<int>(std::floor(at->x() * kChartWidth)),
                       static_cast<int>(std::floor(at->y() * kChartHeight)));
    body = Body_At(Chart_Hotspots(chart), point);
  }
  if (!body) return false;  // the view's own tooltip
  QToolTip::showText(global, QString::fromStdString(Body_Tooltip(chart, *body)), Image1);
  return true;
}

}  // namespace vk
