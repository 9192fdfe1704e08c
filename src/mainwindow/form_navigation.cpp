// Date navigation: step buttons, typed dates, "Heute", the arrow keys, and the day refresh.
#include <QCoreApplication>
#include <QLineEdit>
#include <QLabel>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "mainwindow/form_main.h"
#include "timecalc/calendar.h"
#include "base/error.h"
#include "timecalc/input_checks.h"

namespace vk {

namespace {

// The chart's inputs from the session: the chosen day, the flags, and the
// site whose table is in force.
void Sync_Chart(DayChart& chart, const Session& session) {
  const Almanac& a = session.In_Force();
  chart.Sel_JD = session.Day();
  chart.Site_nLat = a.site.Site_nLat;  // the phase pictures as seen from the site's hemisphere
  chart.Zone = a.site.Site_Zone;
  chart.Show_Daemmerungen = session.Flags().twilights;
  chart.Show_Auf_Untergaenge = session.Flags().rises;
  chart.Show_Meridian = session.Flags().transits;
  chart.Show_Fotolicht = session.Flags().fotolicht;
  chart.Show_Leaders = session.Flags().leaders;
  chart.Show_Legend = session.Flags().legend;
}

// The tables the chart shows for the chosen day: those in force, or empty ones
// while the day's period is still being made (its days are not in them).
std::pair<const EventStore*, const PhaseTable*> Tables_For_Day(const Session& s) {
  const Almanac& a = s.In_Force();
  const tPeriod& p = a.ephemeris.period();
  if (s.Day() >= p.first_jd() && s.Day() < p.end_jd()) return {&a.events, &a.phases};
  static const EventStore no_events;
  static const PhaseTable no_phases;
  return {&no_events, &no_phases};
}

}  // namespace

void TForm_Main::Refresh_Day() {
  const auto write_fields = [this](const tDayFields& f) {
    Label_DST->setText(QString::fromStdString(f.DST_Text));
    RichEdit_Jahr->setText(QString::fromStdString(f.Jahr_Text));
    RichEdit_Monat->setText(QString::fromStdString(f.Monat_Text));
    RichEdit_Daag->setText(QString::fromStdString(f.Daag_Text));
  };
  const auto show_memo = [this] {
    QStringList lines;
    for (const std::string& l : chart.Memo1) lines << QString::fromStdString(l);
    // The Moon's light and the day length after a blank line.
    if (!chart.Light_Lines.empty()) lines << QString();
    for (const std::string& l : chart.Light_Lines) lines << QString::fromStdString(l);
    Memo1->setPlainText(lines.join('\n'));
    // Sized for its lines in the font it shows them in, which shrinks with the right panel; the
    // Moon's light and the day length below them.
    const double font_share = static_cast<double>(Memo1->font().pixelSize()) / Memo_Font().pixelSize();
    const int extra = chart.Light_Lines.empty()
                          ? 0
                          : static_cast<int>(chart.Light_Lines.size() + 1) * QFontMetrics(Memo1->font()).height();
    // The extra lines take the room below the box that the panel has; where it has none they scroll.
    const int height = static_cast<int>(std::lround((chart.Memo1_Height + 12) * font_share));
    const int room = Memo1->parentWidget()->height() - Memo1->y();
    if (chart.Memo1_Width > 0)
      Memo1->resize(static_cast<int>(std::lround((chart.Memo1_Width + 24) * font_share)),
                    std::max(height, std::min(height + extra, room)));
  };
  Sync_Chart(chart, *session_);
  if (chart_waits_) {
    write_fields(Day_Fields(chart.Sel_JD, chart.Zone.get()));
    return;
  }
  Sync_Now();
  const auto [events, phases] = Tables_For_Day(*session_);
  vk::Refresh_Day(chart, *events, *phases, write_fields, show_memo);
}

void TForm_Main::End_Chart_Wait() {
  chart_waits_ = false;
  Refresh_Day();
}

void TForm_Main::Render_Chart() {
  if (chart_waits_) return;
  Sync_Chart(chart, *session_);
  Sync_Now();
  const auto [events, phases] = Tables_For_Day(*session_);
  Render_Day_Chart(chart, *events, *phases);
}

bool TForm_Main::Working() const {
  return session_->Working() || site_step_waits_ || (step_timer_->isActive() && held_step_.kind == Step::Site);
}

void TForm_Main::Go_To_Day(double jd) { session_->Set_Day(jd); }

void TForm_Main::Step_Pressed(QPushButton* button, const Step& step) {
  held_ = button;
  held_step_ = step;
  site_step_waits_ = false;
  Step_Once(step);
  // The pause before the next date step starts after the refresh; a site's
  // step is computed when its pause has run out, even when released before.
  step_timer_->start(step.kind == Step::Date ? 150 : 250);
}

void TForm_Main::Step_Released() {
  if (held_ && held_step_.kind == Step::Date) step_timer_->stop();
  held_ = nullptr;
}

void TForm_Main::Step_Once(const Step& step) {
  if (step.kind == Step::Date) {
    session_->Step_Day(step.years, step.months, step.days);  // refreshes the day
    return;
  }
  Own_Coordinates();
  Site site = session_->Site_Asked();
  double& value = step.latitude ? site.Site_nLat : site.Site_eLon;
  const double limit = step.latitude ? 90 : 180;
  value = step.degrees < 0 ? std::max(value + step.degrees, -limit) : std::min(value + step.degrees, limit);
  session_->Set_Site(site);
  (step.latitude ? Edit_nLat : Edit_eLon)->setText(Site_Text(value));
}

void TForm_Main::Step_Timer_Fired() {
  if (held_step_.kind == Step::Site) {
    Site_Changed_By_Step();
    return;
  }
  if (!held_) return;
  Step_Once(held_step_);
  step_timer_->start(0);  // the next step once the refresh is on the screen and input is seen
}

void TForm_Main::Site_Changed_By_Step() {
  site_step_waits_ = true;
  Ask_Site(session_->Site_Asked());
}

// A held site button steps again when its recomputation has ended.
void TForm_Main::Computation_Ended() {
  // The place list once the first chart is painted (a turn later), then why
  // there are no places, once, after the first computation's "Done.".
  const auto tell = [this] {
    if (!places_error_.empty()) Show_Status(QString::fromStdString(places_error_), StatusColour::ButtonFace);
    places_error_.clear();
  };
  if (places_read_)
    tell();
  else
    QTimer::singleShot(0, this, [this, tell] { Guarded([&] { Fill_Place_Box(); tell(); }); });
  // A first computation that brought no table: its day drawn empty, a turn
  // later (a table's eventsChanged comes right after this).
  if (chart_waits_)
    QTimer::singleShot(0, this, [this] {
      if (chart_waits_) Guarded([&] { End_Chart_Wait(); });
    });
  if (!site_step_waits_) return;
  site_step_waits_ = false;
  if (!held_ || held_step_.kind != Step::Site) return;
  Step_Once(held_step_);
  Site_Changed_By_Step();
}

void TForm_Main::RichEdit_KeyDown(QLineEdit* field, int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  const QString first_line = field->text().section('\n', 0, 0);
  long long value = 0;
  try {
    value = ParseInteger(first_line.toStdString());
  } catch (const Error&) {
    return;  // not a whole number: the field keeps the typed text
  }
  const CalendarTime d = JDToCalendar(session_->Day());
  int year = d.year, month = d.month, day = d.day;
  if (field == RichEdit_Jahr) {
    const long long first = session_->Span().first_year, last = session_->Span().end_year - 1;
    year = static_cast<int>(std::clamp(value, first, last));
    if (year != value)
      Show_Status(QCoreApplication::translate("Window", "Jahr %1 liegt außerhalb der Daten (%2 – %3)")
                      .arg(value)
                      .arg(first)
                      .arg(last),
                  StatusColour::ButtonFace);
  }
  if (field == RichEdit_Monat) month = static_cast<int>(std::clamp(value, 1LL, 12LL));
  if (field == RichEdit_Daag) day = static_cast<int>(std::clamp(value, 1LL, 31LL));
  session_->Set_Day(CalendarToJD(year, month, day, 0, 0, 0));
}

void TForm_Main::Button_HeuteClick() {
  const QDate today = options_.today();
  // A date outside the period goes to the nearest day inside it.
  session_->Set_Day(CalendarToJD(today.year(), today.month(), today.day(), 0, 0, 0));
}

void TForm_Main::FormKeyDown(int key) {
  Guarded([&] {
    // Escape closes the about box when it is open, else the program.
    if (key == Qt::Key_Escape) {
      if (Panel_About->isVisible())
        Button_About_OKClick();
      else
        Exit1->trigger();
    }
    if (key == Qt::Key_Up) session_->Step_Day(0, 0, 1);
    if (key == Qt::Key_Down) session_->Step_Day(0, 0, -1, kDownKeyMargin);
  });
}

}  // namespace vk
