// Date navigation: step buttons, typed dates, "Heute", the arrow keys, and the day refresh.
#include <QLineEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>

#include "mainwindow/form_main.h"
#include "timecalc/calendar.h"
#include "base/error.h"
#include "timecalc/numtext.h"

namespace vk {

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
    Memo1->setPlainText(lines.join('\n'));
    if (chart.Memo1_Width > 0) Memo1->resize(chart.Memo1_Width + 24, chart.Memo1_Height + 12);
  };
  vk::Refresh_Day(chart, almanac->events, almanac->phases, write_fields, show_memo);
}

void TForm_Main::Go_To_Day(double jd) {
  chart.Sel_JD = std::clamp(jd, kFirstDay, kLastDay);
  Refresh_Day();
}

void TForm_Main::Step_Date(int year_step, int month_step, int day_step) {
  Btn_Repeat_Active = 1;
  std::int64_t pause = 150;
  while (Btn_Repeat_Active == 1) {
    const CalendarTime d = JDToCalendar(chart.Sel_JD);
    const double jd = CalendarToJD(d.year + year_step, d.month + month_step, d.day + day_step, 0, 0, 0);
    const bool up = year_step + month_step + day_step > 0;
    chart.Sel_JD = up ? std::min(jd, kLastDay) : std::max(jd, kFirstDay);
    Refresh_Day();
    Wait_ms(pause);
    Process_Messages();  // the button's release ends the loop here
    pause = 0;
  }
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
  const CalendarTime d = JDToCalendar(chart.Sel_JD);
  int year = d.year, month = d.month, day = d.day;
  if (field == RichEdit_Jahr) year = static_cast<int>(std::clamp(value, 2022LL, 2031LL));
  if (field == RichEdit_Monat) month = static_cast<int>(std::clamp(value, 1LL, 12LL));
  if (field == RichEdit_Daag) day = static_cast<int>(std::clamp(value, 1LL, 31LL));
  chart.Sel_JD = std::clamp(CalendarToJD(year, month, day, 0, 0, 0), kFirstDay, kLastDay);
  Refresh_Day();
}

void TForm_Main::Button_HeuteClick() {
  const QDate today = options_.today();
  // A date outside the period goes to the nearest day inside it.
  chart.Sel_JD = std::clamp(CalendarToJD(today.year(), today.month(), today.day(), 0, 0, 0), kFirstDay, kLastDay);
  Refresh_Day();
}

void TForm_Main::FormKeyDown(int key) {
  if (Key_Busy == 1) return;
  Key_Busy = 1;
  Guarded([&] {
    // Escape closes the about box when it is open, else the program.
    if (key == Qt::Key_Escape) {
      if (Panel_About->isVisible())
        Button_About_OKClick();
      else
        Exit1->trigger();
    }
    if (key == Qt::Key_Up) {
      const CalendarTime d = JDToCalendar(chart.Sel_JD);
      chart.Sel_JD = std::min(CalendarToJD(d.year, d.month, d.day + 1, 0, 0, 0), kLastDay);
      Refresh_Day();
      Process_Messages();
    }
    if (key == Qt::Key_Down) {
      const CalendarTime d = JDToCalendar(chart.Sel_JD);
      chart.Sel_JD = std::max(CalendarToJD(d.year, d.month, d.day - 1, 0, 0, 0), kFirstDayDownKey);
      Refresh_Day();
      Process_Messages();
    }
  });
  Key_Busy = 0;
}

}  // namespace vk
