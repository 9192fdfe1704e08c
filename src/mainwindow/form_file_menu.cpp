#include "mainwindow/form_file_menu.h"

#include <QCoreApplication>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <chrono>

#include "export/almanac_pages.h"
#include "export/chart_output.h"
#include "export/icalendar.h"
#include "mainwindow/events_dialog.h"
#include "mainwindow/form_main.h"
#include "mainwindow/menu_bar.h"
#include "mainwindow/options_file.h"
#include "timecalc/calendar.h"
#include "base/error.h"

namespace vk {

namespace {

// The days whose events the table in force holds: its period's, within the span.
double First_Day_In_Force(const TForm_Main& form) {
  return std::max(form.Almanac_In_Force().ephemeris.period().first_jd(), form.Session_In_Force().First_Day());
}
double Last_Day_In_Force(const TForm_Main& form) {
  return std::min(form.Almanac_In_Force().ephemeris.period().end_jd() - 1, form.Session_In_Force().Last_Day());
}


// A chart with the window's display flags and pictures, for painting pages
// without touching the window's own chart.
std::unique_ptr<DayChart> Chart_Like(const DayChart& shown) {
  auto chart = std::make_unique<DayChart>();
  chart->Sel_JD = shown.Sel_JD;
  chart->Show_Daemmerungen = shown.Show_Daemmerungen;
  chart->Show_Auf_Untergaenge = shown.Show_Auf_Untergaenge;
  chart->Show_Meridian = shown.Show_Meridian;
  chart->Show_Fotolicht = shown.Show_Fotolicht;
  chart->Show_Leaders = shown.Show_Leaders;
  chart->Show_Legend = shown.Show_Legend;
  chart->Pictures = shown.Pictures;
  chart->Site_nLat = shown.Site_nLat;  // south of the equator the phases are mirrored
  chart->Now_Local_JD = shown.Now_Local_JD;
  return chart;
}

std::filesystem::path Path_Of(const QString& name) { return std::filesystem::path(name.toStdString()); }

// The name chosen in a save dialog, with the first ending of the chosen
// filter ("PNG (*.png)" gives ".png") when it has none of `endings`.
QString With_Ending(const QString& name, const QString& filter, const QStringList& endings) {
  for (const QString& e : endings)
    if (name.endsWith(e, Qt::CaseInsensitive)) return name;
  const qsizetype star = filter.indexOf("*.");
  const QString ending = star < 0 ? endings.first() : filter.mid(star + 1).section(QRegularExpression("[ )]"), 0, 0);
  return name + ending;
}

// The dialog's file name, or empty when it was cancelled.
QString Save_File_Name(TForm_Main& form, const QString& title, const QString& filters, const QStringList& endings) {
  QString filter;
  const QString name = QFileDialog::getSaveFileName(&form, title, QDir::homePath(), filters, &filter);
  return name.isEmpty() ? name : With_Ending(name, filter, endings);
}

void Confirm_Saved(TForm_Main& form, const QString& name) {
  form.Show_Status(QCoreApplication::translate("Window", "Gespeichert: %1").arg(name), StatusColour::ButtonFace);
}

void Save_Chart_Dialog(TForm_Main& form, bool full_size) {
  const QString name = Save_File_Name(
      form, QCoreApplication::translate("Window", "Diagramm speichern"),
      QCoreApplication::translate("Window", "Bilder und PDF (*.png *.jpg *.jpeg *.bmp *.pdf);;PNG (*.png);;"
                                            "JPEG (*.jpg *.jpeg);;BMP (*.bmp);;PDF (*.pdf)"),
      {".png", ".jpg", ".jpeg", ".bmp", ".pdf"});
  if (name.isEmpty()) return;
  const QSize size = full_size || form.Displayed_Chart().isNull() ? QSize(kChartWidth, kChartHeight)
                                                                 : form.Displayed_Chart().size();
  form.Guarded([&] {
    Save_Form_Chart(form, Path_Of(name), size);
    Confirm_Saved(form, name);
  });
}

void Save_Month_Dialog(TForm_Main& form) {
  const QString name = Save_File_Name(form, QCoreApplication::translate("Window", "Monatsblatt speichern"),
                                      QString::fromUtf8("PDF (*.pdf)"), {".pdf"});
  if (name.isEmpty()) return;
  form.Guarded([&] {
    Save_Form_Month(form, Path_Of(name));
    Confirm_Saved(form, name);
  });
}

// The dialog for the year table or the month page; saved at once on this
// thread: the days come from the table in force.
void Save_Table_Dialog(TForm_Main& form, bool year) {
  const QString name = Save_File_Name(
      form,
      year ? QCoreApplication::translate("Window", "Jahrestabelle speichern")
           : QCoreApplication::translate("Window", "Monatsseite speichern"),
      QCoreApplication::translate("Window", "Tabellen (*.pdf *.csv *.txt);;PDF (*.pdf);;CSV (*.csv);;Text (*.txt)"),
      {".pdf", ".csv", ".txt"});
  if (name.isEmpty()) return;
  form.Guarded([&] {
    if (year)
      Save_Form_Year_Table(form, Path_Of(name));
    else
      Save_Form_Month_Page(form, Path_Of(name));
    Confirm_Saved(form, name);
  });
}

void Print_Dialog(TForm_Main& form) {
  form.Guarded([&] {
    if (QPrinterInfo::availablePrinters().isEmpty())
      throw Error(QCoreApplication::translate("Window", "Kein Drucker eingerichtet. Das Diagramm lässt sich mit "
                                                      "„Diagramm speichern …“ als PDF sichern und später drucken.")
                      .toStdString());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, &form);
    dialog.setWindowTitle(QCoreApplication::translate("Window", "Diagramm drucken"));
    if (dialog.exec() == QDialog::Accepted) Print_Form_Chart(form, printer);
  });
}

void Export_Events_Dialog(TForm_Main& form) {
  const CalendarTime c = JDToCalendar(form.Chosen_Day());
  const CalendarTime first = JDToCalendar(First_Day_In_Force(form)), last = JDToCalendar(Last_Day_In_Force(form));
  EventsDialog dialog(&form, QDate(c.year, c.month, 1), QDate(first.year, first.month, first.day),
                      QDate(last.year, last.month, last.day));
  dialog.Offer_Photo_Light(form.Session_In_Force().Flags().fotolicht);
  if (dialog.exec() != QDialog::Accepted) return;
  const QString name = Save_File_Name(form, QCoreApplication::translate("Window", "Termine exportieren"),
                                      QString::fromUtf8("iCalendar (*.ics)"), {".ics"});
  if (name.isEmpty()) return;
  form.Guarded([&] {
    const int n = Export_Form_Events(form, Path_Of(name), dialog.From(), dialog.To(), dialog.Kinds(),
                                     dialog.Equator_Seasons());
    form.Show_Status(QCoreApplication::translate("Window", "%1 Termine exportiert: %2").arg(n).arg(name), StatusColour::ButtonFace);
  });
}

}  // namespace

namespace {

// The heading of the window's site: the chosen place's name (its display
// text before the zone), else the coordinates alone.
tPageHeading Form_Heading(const TForm_Main& form) {
  std::string place = form.Place_Display();
  if (const auto dash = place.find(" — "); dash != std::string::npos) place.resize(dash);
  return Page_Heading(place, form.Almanac_In_Force().site, form.Almanac_In_Force().interpolation);
}

constexpr const char* kPrintColoursKey = "Ansicht/Druckfarben";

// The heading of the window's site and the print-colours option of its options file.
tChartPage Form_Chart_Page(const TForm_Main& form) {
  tChartPage page;
  page.heading = Form_Heading(form);
  page.print_colours = Read_Print_Colours_Option(form.Options_Path());
  return page;
}

}  // namespace

bool Read_Print_Colours_Option(const std::filesystem::path& options_file) {
  if (options_file.empty()) return false;
  const auto values = ReadOptionValues(options_file, {kPrintColoursKey});
  const auto it = values.find(kPrintColoursKey);
  return it != values.end() && it->second == "true";
}

void Save_Form_Chart(TForm_Main& form, const std::filesystem::path& path, QSize size) {
  const auto type = Chart_File_Type(path);
  if (!type) throw Error("The file must end in .png, .jpg, .jpeg, .bmp or .pdf", path.string());
  if (type == ChartFileType::Pdf) {
    auto chart = Chart_Like(form.Chart());
    chart->Sel_JD = form.Chosen_Day();
    Save_Day_Pages_Pdf(path, *chart, form.Almanac_In_Force().events, form.Almanac_In_Force().phases, form.Chosen_Day(),
                       form.Chosen_Day(), Form_Chart_Page(form));
  } else {
    // The heading band keeps the chart's proportion: the height grows by its share.
    const tChartPage page = Form_Chart_Page(form);
    QImage img;
    if (page.print_colours || !form.Chart_Drawn()) {
      // Drawn anew in print colours, as the window shows the day otherwise
      // (and anew when the window has drawn none yet).
      auto chart = Chart_Like(form.Chart());
      chart->Sel_JD = form.Chosen_Day();
      img = Chart_Page_Image(*chart, form.Almanac_In_Force().events, form.Almanac_In_Force().phases, page);
    } else {
      img = Chart_Page_Image(form.Chart().Img, page);
    }
    Save_Chart_Picture(img, path, QSize(size.width(), size.height() * img.height() / form.Chart().Img.height()));
  }
}

void Save_Form_Month(TForm_Main& form, const std::filesystem::path& path) {
  const CalendarTime c = JDToCalendar(form.Chosen_Day());
  const double first = CalendarToJD(c.year, c.month, 1, 0, 0, 0);
  const double next = c.month == 12 ? CalendarToJD(c.year + 1, 1, 1, 0, 0, 0) : CalendarToJD(c.year, c.month + 1, 1, 0, 0, 0);
  auto chart = Chart_Like(form.Chart());
  Save_Day_Pages_Pdf(path, *chart, form.Almanac_In_Force().events, form.Almanac_In_Force().phases, first,
                     std::min(next - 1.0, Last_Day_In_Force(form)), Form_Chart_Page(form));
}

namespace {

std::vector<tAlmanacDay> Form_Days(const TForm_Main& form, double first, double last) {
  std::vector<tAlmanacDay> days;
  for (double d = std::max(first, First_Day_In_Force(form)); d <= std::min(last, Last_Day_In_Force(form)); d += 1)
    days.push_back(Almanac_Day(form.Almanac_In_Force().events, d));
  return days;
}

}  // namespace

void Save_Form_Year_Table(TForm_Main& form, const std::filesystem::path& path) {
  const int year = JDToCalendar(form.Chosen_Day()).year;
  Save_Year_Table(path, year, Form_Days(form, CalendarToJD(year, 1, 1, 0, 0, 0), CalendarToJD(year, 12, 31, 0, 0, 0)),
                  Form_Heading(form), {});
}

void Save_Form_Month_Page(TForm_Main& form, const std::filesystem::path& path) {
  const CalendarTime c = JDToCalendar(form.Chosen_Day());
  const double first = CalendarToJD(c.year, c.month, 1, 0, 0, 0);
  const double last =
      (c.month == 12 ? CalendarToJD(c.year + 1, 1, 1, 0, 0, 0) : CalendarToJD(c.year, c.month + 1, 1, 0, 0, 0)) - 1;
  Save_Month_Page(path, Form_Days(form, first, last), Notable_Events(form.Almanac_In_Force().events, first, last),
                  Form_Heading(form));
}

void Print_Form_Chart(TForm_Main& form, QPrinter& printer) {
  auto chart = Chart_Like(form.Chart());
  chart->Sel_JD = form.Chosen_Day();
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter p(&printer);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  Paint_Chart_Page(p, page.translated(-page.topLeft()), printer.resolution(),
                   QString::fromStdString(Chart_Title(chart->Sel_JD)), Form_Chart_Page(form),
                   [&](QPainter& cp, const tChartPalette& colours) {
                     chart->Colours = colours;
                     Paint_Day_Chart(cp, *chart, form.Almanac_In_Force().events, form.Almanac_In_Force().phases);
                   });
}

std::string TForm_Main::Place_Name() const {
  for (const Place& p : places_)
    if (!place_.empty() && p.display == place_) return p.city;
  return {};
}

int Export_Form_Events(TForm_Main& form, const std::filesystem::path& path, QDate from, QDate to, tGroupSet kinds,
                       bool equator_seasons) {
  if (from > to) throw Error(QCoreApplication::translate("Window", "Das Startdatum liegt nach dem Enddatum").toStdString());
  tCalendarRequest request;
  request.from_jd = std::max(CalendarToJD(from.year(), from.month(), from.day(), 0, 0, 0), First_Day_In_Force(form));
  request.to_jd = std::min(CalendarToJD(to.year(), to.month(), to.day(), 0, 0, 0), Last_Day_In_Force(form));
  request.kinds = kinds;
  request.equator_seasons = equator_seasons;
  request.site = form.Almanac_In_Force().site;
  request.place = form.Place_Name();
  request.stamp_unix =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  int count = 0;
  const std::string text = Calendar_Text(form.Almanac_In_Force().events, request, &count);
  Write_Text_File(path, text);
  return count;
}

void Add_File_Menu(TForm_Main& form) {
  QMenuBar* bar = form.menuBar();
  QMenu* menu = Find_Or_Add_Menu(bar, QCoreApplication::translate("Window", "&Datei"), bar->actions().isEmpty() ? QString() : bar->actions().first()->text());
  QObject::connect(menu->addAction(QCoreApplication::translate("Window", "Diagramm &speichern …")), &QAction::triggered, &form,
                   [&form] { Save_Chart_Dialog(form, true); });
  QObject::connect(menu->addAction(QCoreApplication::translate("Window", "Diagramm in &Bildschirmgröße speichern …")),
                   &QAction::triggered, &form, [&form] { Save_Chart_Dialog(form, false); });
  QObject::connect(menu->addAction(QCoreApplication::translate("Window", "&Monatsblatt speichern …")), &QAction::triggered, &form,
                   [&form] { Save_Month_Dialog(form); });
  QObject::connect(menu->addAction(QCoreApplication::translate("Window", "&Jahrestabelle …")), &QAction::triggered, &form,
                   [&form] { Save_Table_Dialog(form, true); });
  QObject::connect(menu->addAction(QCoreApplication::translate("Window", "Mon&atsseite …")), &QAction::triggered, &form,
                   [&form] { Save_Table_Dialog(form, false); });
  menu->addSeparator();
  QAction* colours = menu->addAction(QCoreApplication::translate("Window", "Druck&farben"));
  colours->setObjectName("PrintColoursAction");
  colours->setCheckable(true);
  colours->setChecked(Read_Print_Colours_Option(form.Options_Path()));
  QObject::connect(colours, &QAction::toggled, &form, [&form](bool on) {
    try {
      if (!form.Options_Path().empty()) WriteOptionValues(form.Options_Path(), {{kPrintColoursKey, on ? "true" : "false"}});
    } catch (const Error&) {
      form.Show_Status(QCoreApplication::translate("Window", "Die Optionsdatei konnte nicht geschrieben werden"), StatusColour::Red);
    }
  });
  QAction* print = menu->addAction(QCoreApplication::translate("Window", "&Drucken …"));
  print->setShortcut(QKeySequence::Print);
  QObject::connect(print, &QAction::triggered, &form, [&form] { Print_Dialog(form); });
  menu->addSeparator();
  QObject::connect(menu->addAction(QCoreApplication::translate("Window", "&Termine exportieren …")), &QAction::triggered, &form,
                   [&form] { Export_Events_Dialog(form); });
  menu->addSeparator();
  QAction* screendump = menu->addAction(QCoreApplication::translate("Window", "Bildschirm&foto beim Beenden speichern"));
  screendump->setObjectName(kScreendumpActionName);
  screendump->setCheckable(true);
  screendump->setChecked(ReadOptionsFile(form.Options_Path()).screendump.value_or(true));
  QObject::connect(screendump, &QAction::triggered, &form, [&form](bool on) {
    form.Guarded([&] {
      WindowOptions o = ReadOptionsFile(form.Options_Path());
      o.screendump = on;
      WriteOptionsFile(form.Options_Path(), o);
    });
  });
}

}  // namespace vk
