// Date navigation: step buttons, typed dates, "Heute", the arrow keys, and the day refresh.
#include <QLineEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <algorithm>

#include "mainwindow/form_main.h"
#include "timecalc/calendar.h"
#include "timecalc/errors.h"
#include "timecalc/numtext.h"

namespace vk {

void TForm_Main::Refresh_Day() {
  const CalendarTime t = JDToCalendar(Sel_JD);
  Sel_Jahr = t.year;
  Sel_Monat = t.month;
  Sel_Daag = t.day;
  Label_DST->setText(IsSummerTime(Sel_JD) ? "(+01:00 Sommerzeit)" : "(Normalzeit)");
  auto two = [](int v) { return QString::number(v).rightJustified(2, '0').right(2); };
  RichEdit_Jahr->setText(QString::number(Sel_Jahr));
  RichEdit_Monat->setText(two(Sel_Monat));
  RichEdit_Daag->setText(two(Sel_Daag));
  Process_Messages();
  chart.Sel_JD = Sel_JD;
  if (Render_Day_Chart(chart, almanac->events, almanac->phases)) {
    QStringList lines;
    for (const std::string& l : chart.Memo1) lines << QString::fromStdString(l);
    Memo1->setPlainText(lines.join('\n'));
    if (chart.Memo1_Width > 0) Memo1->resize(chart.Memo1_Width + 24, chart.Memo1_Height + 12);
  }
  Process_Messages();
}

void TForm_Main::Step_Date(int year_step, int month_step, int day_step) {
  Btn_Repeat_Active = 1;
  std::int64_t pause = 150;
  while (Btn_Repeat_Active == 1) {
    Sel_JD = CalendarToJD(Sel_Jahr + year_step, Sel_Monat + month_step, Sel_Daag + day_step, 0, 0, 0);
    const bool up = year_step + month_step + day_step > 0;
    Sel_JD = up ? std::min(Sel_JD, kLastDay) : std::max(Sel_JD, kFirstDay);
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
  if (field == RichEdit_Jahr) Sel_Jahr = static_cast<int>(std::clamp(value, 2022LL, 2031LL));
  if (field == RichEdit_Monat) Sel_Monat = static_cast<int>(std::clamp(value, 1LL, 12LL));
  if (field == RichEdit_Daag) Sel_Daag = static_cast<int>(std::clamp(value, 1LL, 31LL));
  Sel_JD = std::clamp(CalendarToJD(Sel_Jahr, Sel_Monat, Sel_Daag, 0, 0, 0), kFirstDay, kLastDay);
  Refresh_Day();
}

void TForm_Main::Button_HeuteClick() {
  const QDate today = options_.today();
  Sel_Jahr = today.year();
  Sel_Monat = today.month();
  Sel_Daag = today.day();
  // A date outside the period goes to the nearest day inside it.
  Sel_JD = std::clamp(CalendarToJD(Sel_Jahr, Sel_Monat, Sel_Daag, 0, 0, 0), kFirstDay, kLastDay);
  Refresh_Day();
}

void TForm_Main::FormKeyDown(int key) {
  if (Key_Busy == 1) return;
  Key_Busy = 1;
  Guarded([&] {
    if (key == Qt::Key_Escape) Exit1->trigger();
    if (key == Qt::Key_Up) {
      Sel_JD = std::min(CalendarToJD(Sel_Jahr, Sel_Monat, Sel_Daag + 1, 0, 0, 0), kLastDay);
      Refresh_Day();
      Process_Messages();
    }
    if (key == Qt::Key_Down) {
      Sel_JD = std::max(CalendarToJD(Sel_Jahr, Sel_Monat, Sel_Daag - 1, 0, 0, 0), kFirstDayDownKey);
      Refresh_Day();
      Process_Messages();
    }
  });
  Key_Busy = 0;
}

}  // namespace vk
