#include "export/almanac_pages.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>
#include <cmath>

#include "base/error.h"
#include "file_ending.h"
#include "base/number_text.h"
#include "chart/day_chart.h"
#include "events/event_kinds.h"
#include "export/chart_output.h"
#include "export/icalendar.h"
#include "language/translations.h"
#include "timecalc/calendar.h"
#include "timecalc/zone_rule.h"

namespace vk {

namespace {

using K = EventKind;

constexpr double kMargin = kPageMargin;
constexpr const char* kNone = "—";      // no such event on the day
constexpr const char* kSunUpAllDay = "****";
constexpr const char* kSunDownAllDay = "----";

QString Tr(const char* text) { return QCoreApplication::translate("AlmanacPages", text); }
std::string TrS(const char* text) { return Tr(text).toStdString(); }

constexpr std::array<const char*, 12> kMonthNames = {
    QT_TRANSLATE_NOOP("AlmanacPages", "Januar"),    QT_TRANSLATE_NOOP("AlmanacPages", "Februar"),
    QT_TRANSLATE_NOOP("AlmanacPages", "März"),      QT_TRANSLATE_NOOP("AlmanacPages", "April"),
    QT_TRANSLATE_NOOP("AlmanacPages", "Mai"),       QT_TRANSLATE_NOOP("AlmanacPages", "Juni"),
    QT_TRANSLATE_NOOP("AlmanacPages", "Juli"),      QT_TRANSLATE_NOOP("AlmanacPages", "August"),
    QT_TRANSLATE_NOOP("AlmanacPages", "September"), QT_TRANSLATE_NOOP("AlmanacPages", "Oktober"),
    QT_TRANSLATE_NOOP("AlmanacPages", "November"),  QT_TRANSLATE_NOOP("AlmanacPages", "Dezember")};

// The first event of `body` and `kind` in [day, day + 1).
std::optional<double> Event_On(const EventStore& store, double day, Body body, K kind) {
  const auto n = Find_Event(store, 1, day, BodyNames[body], EventName(kind));
  if (!n) return std::nullopt;
  const double jd = store.Event_Tab[static_cast<std::size_t>(*n)].jd_local;
  return jd < day + 1.0 ? std::optional<double>(jd) : std::nullopt;
}

// One page of the year table: which pair of times it shows.
struct YearPage {
  const char* title;   // with %1 for the year
  const char* first;   // column heads
  const char* second;
  std::optional<double> tAlmanacDay::*a;
  std::optional<double> tAlmanacDay::*b;
  bool sun;            // polar days and nights marked
};

std::vector<YearPage> Year_Pages(const tYearTableOptions& options) {
  std::vector<YearPage> pages = {
      {QT_TRANSLATE_NOOP("AlmanacPages", "Sonnenaufgang und Sonnenuntergang %1"),
       QT_TRANSLATE_NOOP("AlmanacPages", "Auf"), QT_TRANSLATE_NOOP("AlmanacPages", "Unt"), &tAlmanacDay::rise,
       &tAlmanacDay::set, true},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Bürgerliche Dämmerung %1 (Sonne 6° unter dem Horizont)"),
       QT_TRANSLATE_NOOP("AlmanacPages", "Beg"), QT_TRANSLATE_NOOP("AlmanacPages", "Ende"), &tAlmanacDay::civil_begin,
       &tAlmanacDay::civil_end, false}};
  if (options.nautical)
    pages.push_back({QT_TRANSLATE_NOOP("AlmanacPages", "Nautische Dämmerung %1 (Sonne 12° unter dem Horizont)"),
                     QT_TRANSLATE_NOOP("AlmanacPages", "Beg"), QT_TRANSLATE_NOOP("AlmanacPages", "Ende"),
                     &tAlmanacDay::nautical_begin, &tAlmanacDay::nautical_end, false});
  if (options.astronomical)
    pages.push_back({QT_TRANSLATE_NOOP("AlmanacPages", "Astronomische Dämmerung %1 (Sonne 18° unter dem Horizont)"),
                     QT_TRANSLATE_NOOP("AlmanacPages", "Beg"), QT_TRANSLATE_NOOP("AlmanacPages", "Ende"),
                     &tAlmanacDay::astro_begin, &tAlmanacDay::astro_end, false});
  pages.push_back({QT_TRANSLATE_NOOP("AlmanacPages", "Mondaufgang und Monduntergang %1"),
                   QT_TRANSLATE_NOOP("AlmanacPages", "Auf"), QT_TRANSLATE_NOOP("AlmanacPages", "Unt"),
                   &tAlmanacDay::moon_rise, &tAlmanacDay::moon_set, false});
  return pages;
}

// The cell of one time: hh:mm, or the mark of a day without it.
std::string Cell(const tAlmanacDay& d, const std::optional<double>& t, bool sun) {
  if (t) return Minute_Text(*t, d.day_jd);
  if (sun && !d.rise && !d.set && d.day_length_h) {
    if (*d.day_length_h >= 24.0) return kSunUpAllDay;
    if (*d.day_length_h <= 0.0) return kSunDownAllDay;
  }
  return kNone;
}

const char* kLegendSun = QT_TRANSLATE_NOOP(
    "AlmanacPages", "Ortszeit, auf die Minute gerundet.  — kein solches Ereignis an dem Tag;  **** Sonne den ganzen "
                    "Tag über dem Horizont;  ---- den ganzen Tag darunter.");
const char* kLegend = QT_TRANSLATE_NOOP("AlmanacPages",
                                        "Ortszeit, auf die Minute gerundet.  — kein solches Ereignis an dem Tag.");

// The days of `days` by month and day of the month (null where the year has none).
std::array<std::array<const tAlmanacDay*, 31>, 12> By_Month(const std::vector<tAlmanacDay>& days) {
  std::array<std::array<const tAlmanacDay*, 31>, 12> grid{};
  for (const tAlmanacDay& d : days) {
    const CalendarTime c = JDToCalendar(d.day_jd);
    grid[static_cast<std::size_t>(c.month - 1)][static_cast<std::size_t>(c.day - 1)] = &d;
  }
  return grid;
}

std::vector<std::string> Heading_Lines(const tPageHeading& h) { return {h.place, h.zone, h.mode}; }

std::string Fraction_Text(const tAlmanacDay& d) { return d.moon ? FormatFixed(d.moon->fraction * 100, 1) : ""; }
std::string Age_Text(const tAlmanacDay& d) {
  return d.moon && d.moon->age_days ? FormatFixed(*d.moon->age_days, 2) : "";
}
std::string Length_Text(const tAlmanacDay& d) { return d.day_length_h ? Hours_Minutes_Text(*d.day_length_h, false) : ""; }

std::string Date_Text(double day_jd) {
  const CalendarTime c = JDToCalendar(day_jd);
  return LastDigits(c.year, 4) + "-" + LastDigits(c.month, 2) + "-" + LastDigits(c.day, 2);
}

std::string Pad(std::string text, std::size_t width) {
  // Width in characters: "—" counts as one.
  std::size_t chars = 0;
  for (const char c : text) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (chars < width) text.insert(0, width - chars, ' ');
  return text;
}

// Millimetres to the page's device units.
double Mm(double mm) { return mm * kPageDpi / 25.4; }

QFont Page_Font(double points, bool bold = false) {
  QFont f("DejaVu Sans");
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

}  // namespace

double Paint_Heading(QPainter& p, const QRectF& page, const QString& title, const tPageHeading& h, QColor ink) {
  p.setPen(ink);
  p.setFont(Page_Font(13, true));
  double y = kMargin;
  p.drawText(QRectF(Mm(kMargin), Mm(y), page.width() - Mm(2 * kMargin), Mm(7)), Qt::AlignLeft | Qt::AlignVCenter,
             title);
  y += 8;
  p.setFont(Page_Font(8));
  for (const std::string& line : Heading_Lines(h)) {
    p.drawText(QRectF(Mm(kMargin), Mm(y), page.width() - Mm(2 * kMargin), Mm(4)), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(line));
    y += 4;
  }
  return y + 2;
}

namespace {

void Paint_Legend(QPainter& p, const QRectF& page, const char* legend) {
  p.setPen(Qt::black);
  p.setFont(Page_Font(7));
  p.drawText(QRectF(Mm(kMargin), page.height() - Mm(kMargin), page.width() - Mm(2 * kMargin), Mm(5)),
             Qt::AlignLeft | Qt::AlignVCenter, Tr(legend));
}

// A row of cells: texts centred in columns of the widths (mm) from x (mm).
void Paint_Row(QPainter& p, double x, double y, double height, const std::vector<double>& widths,
               const std::vector<QString>& cells, int flags = Qt::AlignCenter) {
  for (std::size_t k = 0; k < cells.size() && k < widths.size(); ++k) {
    p.drawText(QRectF(Mm(x), Mm(y), Mm(widths[k]), Mm(height)), flags | Qt::AlignVCenter, cells[k]);
    x += widths[k];
  }
}

void Paint_Year_Page(QPainter& p, const QRectF& page, int year, const YearPage& yp,
                     const std::array<std::array<const tAlmanacDay*, 31>, 12>& grid, const tPageHeading& h) {
  const double top = Paint_Heading(p, page, Tr(yp.title).arg(year), h);
  const double width_mm = page.width() / Mm(1) - 2 * kMargin;
  const double height_mm = page.height() / Mm(1) - top - kMargin - 4;
  const double day_w = 8;
  const double month_w = (width_mm - 2 * day_w) / 12;
  const double row_h = height_mm / 33;
  const QPen grid_pen(QColor(150, 150, 150), Mm(0.15));
  const QPen strong_pen(QColor(60, 60, 60), Mm(0.3));

  p.setPen(Qt::black);
  p.setFont(Page_Font(8, true));
  for (int m = 0; m < 12; ++m)
    p.drawText(QRectF(Mm(kMargin + day_w + m * month_w), Mm(top), Mm(month_w), Mm(row_h)), Qt::AlignCenter,
               Tr(kMonthNames[static_cast<std::size_t>(m)]));
  p.setFont(Page_Font(6));
  for (int m = 0; m < 12; ++m)
    Paint_Row(p, kMargin + day_w + m * month_w, top + row_h, row_h, {month_w / 2, month_w / 2},
              {Tr(yp.first), Tr(yp.second)});
  p.setFont(Page_Font(7, true));
  const double body_top = top + 2 * row_h;
  for (int d = 0; d < 31; ++d) {
    const double y = body_top + d * row_h;
    p.setPen(Qt::black);
    p.setFont(Page_Font(7, true));
    const QString day = QString::number(d + 1);
    Paint_Row(p, kMargin, y, row_h, {day_w}, {day});
    Paint_Row(p, kMargin + day_w + 12 * month_w, y, row_h, {day_w}, {day});
    p.setFont(Page_Font(7));
    for (int m = 0; m < 12; ++m) {
      const tAlmanacDay* a = grid[static_cast<std::size_t>(m)][static_cast<std::size_t>(d)];
      if (!a) continue;
      Paint_Row(p, kMargin + day_w + m * month_w, y, row_h, {month_w / 2, month_w / 2},
                {QString::fromStdString(Cell(*a, (*a).*yp.a, yp.sun)),
                 QString::fromStdString(Cell(*a, (*a).*yp.b, yp.sun))});
    }
    if ((d + 1) % 5 == 0) {
      p.setPen(grid_pen);
      p.drawLine(QPointF(Mm(kMargin), Mm(y + row_h)), QPointF(Mm(kMargin + width_mm), Mm(y + row_h)));
    }
  }
  p.setPen(strong_pen);
  const double bottom = body_top + 31 * row_h;
  p.drawLine(QPointF(Mm(kMargin), Mm(body_top)), QPointF(Mm(kMargin + width_mm), Mm(body_top)));
  p.drawRect(QRectF(Mm(kMargin), Mm(top), Mm(width_mm), Mm(bottom - top)));
  for (int m = 0; m <= 12; ++m) {
    const double x = kMargin + day_w + m * month_w;
    p.drawLine(QPointF(Mm(x), Mm(top)), QPointF(Mm(x), Mm(bottom)));
  }
  Paint_Legend(p, page, yp.sun ? kLegendSun : kLegend);
}

std::string Phase_Text(const tAlmanacDay& d) {
  return d.phase.empty() ? std::string() : std::string(ChartText(d.phase, UiLanguage()));
}

struct MonthColumn {
  const char* head;
  double width;  // mm
  std::string (*text)(const tAlmanacDay&);
};

template <std::optional<double> tAlmanacDay::*member, bool sun = false>
std::string Time_Column(const tAlmanacDay& d) {
  return Cell(d, d.*member, sun);
}

std::string Day_Column(const tAlmanacDay& d) {
  const CalendarTime c = JDToCalendar(d.day_jd);
  const int w = static_cast<int>(std::floor(d.day_jd + 1.500001)) % 7;
  return LastDigits(c.day, 2) + " " +
         QString::fromStdString(Chart_Tr(Weekday_Names[static_cast<std::size_t>(w)])).left(2).toStdString();
}

const std::vector<MonthColumn>& Month_Columns() {
  static const std::vector<MonthColumn> columns = {
      {QT_TRANSLATE_NOOP("AlmanacPages", "Tag"), 12, Day_Column},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Aufgang"), 11.5, Time_Column<&tAlmanacDay::rise, true>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Untergang"), 11.5, Time_Column<&tAlmanacDay::set, true>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Tageslänge"), 13, Length_Text},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Bürg. Beg"), 11.5, Time_Column<&tAlmanacDay::civil_begin>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Bürg. Ende"), 11.5, Time_Column<&tAlmanacDay::civil_end>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Naut. Beg"), 11.5, Time_Column<&tAlmanacDay::nautical_begin>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Naut. Ende"), 11.5, Time_Column<&tAlmanacDay::nautical_end>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Astr. Beg"), 11.5, Time_Column<&tAlmanacDay::astro_begin>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Astr. Ende"), 11.5, Time_Column<&tAlmanacDay::astro_end>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Mond auf"), 11.5, Time_Column<&tAlmanacDay::moon_rise>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Mond unt"), 11.5, Time_Column<&tAlmanacDay::moon_set>},
      {QT_TRANSLATE_NOOP("AlmanacPages", "beleuchtet %"), 13, Fraction_Text},
      {QT_TRANSLATE_NOOP("AlmanacPages", "Phase"), 0, Phase_Text},
  };
  return columns;
}

QString Month_Title(const std::vector<tAlmanacDay>& days) {
  if (days.empty()) return {};
  const CalendarTime c = JDToCalendar(days.front().day_jd);
  return Tr(kMonthNames[static_cast<std::size_t>(c.month - 1)]) + " " + QString::number(c.year);
}

std::string Event_Line(const tNotableEvent& e) {
  const CalendarTime c = JDToCalendar(e.jd_local);
  const double day = CalendarToJD(c.year, c.month, c.day, 0, 0, 0);
  return LastDigits(c.day, 2) + ". " + Minute_Text(e.jd_local, day) + "  " + e.body + "  " + e.text;
}

void Paint_Month_Page(QPainter& p, const QRectF& page, const std::vector<tAlmanacDay>& days,
                      const std::vector<tNotableEvent>& events, const tPageHeading& h) {
  const double top = Paint_Heading(p, page, Month_Title(days), h);
  const double width_mm = page.width() / Mm(1) - 2 * kMargin;
  std::vector<double> widths;
  double used = 0;
  for (const MonthColumn& c : Month_Columns()) {
    widths.push_back(c.width > 0 ? c.width : std::max(10.0, width_mm - used));
    used += c.width;
  }
  const double row_h = 5.2;
  p.setPen(Qt::black);
  p.setFont(Page_Font(5.5, true));
  std::vector<QString> heads;
  for (const MonthColumn& c : Month_Columns()) heads.push_back(Tr(c.head));
  // Heads in two lines where one is too narrow.
  Paint_Row(p, kMargin, top, 2 * row_h, widths, heads, Qt::AlignCenter | Qt::TextWordWrap);
  const QPen grid_pen(QColor(170, 170, 170), Mm(0.15));
  p.setFont(Page_Font(7));
  double y = top + 2 * row_h;
  for (const tAlmanacDay& d : days) {
    std::vector<QString> cells;
    for (const MonthColumn& c : Month_Columns()) cells.push_back(QString::fromStdString(c.text(d)));
    p.setPen(Qt::black);
    Paint_Row(p, kMargin, y, row_h, widths, cells);
    p.setPen(grid_pen);
    p.drawLine(QPointF(Mm(kMargin), Mm(y)), QPointF(Mm(kMargin + width_mm), Mm(y)));
    y += row_h;
  }
  p.drawLine(QPointF(Mm(kMargin), Mm(y)), QPointF(Mm(kMargin + width_mm), Mm(y)));
  y += 5;
  p.setPen(Qt::black);
  p.setFont(Page_Font(9, true));
  p.drawText(QRectF(Mm(kMargin), Mm(y), Mm(width_mm), Mm(5)), Qt::AlignLeft | Qt::AlignVCenter,
             Tr(QT_TRANSLATE_NOOP("AlmanacPages", "Ereignisse des Monats")));
  y += 6;
  p.setFont(Page_Font(7));
  // Two columns of events below the table, as many as the page holds.
  const double bottom = page.height() / Mm(1) - kMargin - 4;
  const int per_column = std::max(1, static_cast<int>((bottom - y) / 4.0));
  for (std::size_t k = 0; k < events.size() && static_cast<int>(k) < 2 * per_column; ++k) {
    const double x = kMargin + (static_cast<int>(k) < per_column ? 0 : width_mm / 2);
    const double ey = y + (static_cast<int>(k) % per_column) * 4.0;
    p.drawText(QRectF(Mm(x), Mm(ey), Mm(width_mm / 2), Mm(4)), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(Event_Line(events[k])));
  }
  Paint_Legend(p, page, kLegendSun);
}

}  // namespace

std::optional<TableFileType> Table_File_Type(const std::filesystem::path& path) {
  const std::string e = Lower_Ending(path);
  if (e == ".pdf") return TableFileType::Pdf;
  if (e == ".csv") return TableFileType::Csv;
  if (e == ".txt") return TableFileType::Txt;
  return std::nullopt;
}

tAlmanacDay Almanac_Day(const EventStore& store, double day_jd) {
  tAlmanacDay d;
  d.day_jd = day_jd;
  d.rise = Event_On(store, day_jd, Sun, K::Aufgang);
  d.set = Event_On(store, day_jd, Sun, K::Untergang);
  d.civil_begin = Event_On(store, day_jd, Sun, K::MBurgD);
  d.civil_end = Event_On(store, day_jd, Sun, K::ABurgD);
  d.nautical_begin = Event_On(store, day_jd, Sun, K::MNautD);
  d.nautical_end = Event_On(store, day_jd, Sun, K::ANautD);
  d.astro_begin = Event_On(store, day_jd, Sun, K::MAstrD);
  d.astro_end = Event_On(store, day_jd, Sun, K::AAstrD);
  d.moon_rise = Event_On(store, day_jd, Moon, K::Aufgang);
  d.moon_set = Event_On(store, day_jd, Moon, K::Untergang);
  d.day_length_h = Day_Length_Hours(store, day_jd);
  if (const tMoonLight* m = store.moon_days.on(day_jd)) d.moon = *m;
  for (const K k : {K::Neumond, K::ErstesViertel, K::Vollmond, K::LetztesViertel})
    if (Event_On(store, day_jd, Moon, k)) d.phase = std::string(EventName(k));
  return d;
}

std::vector<tNotableEvent> Notable_Events(const EventStore& store, double first_jd, double last_jd) {
  std::vector<tNotableEvent> out;
  const auto first = Find_Event(store, 1, first_jd, "", "");
  if (!first) return out;
  for (int n = *first; n <= store.Event_Count; ++n) {
    const tEventData& e = store.Event_Tab[static_cast<std::size_t>(n)];
    if (e.jd_local >= last_jd + 1.0) break;
    const auto kind = FindEventKind(e.event);
    if (!kind) continue;
    const EventCategory c = KindInfo(*kind).category;
    const bool notable = c == EventCategory::MoonPhase || c == EventCategory::Eclipse ||
                         *kind == K::FruehlingEkliptik || *kind == K::SommerEkliptik || *kind == K::HerbstEkliptik ||
                         *kind == K::WinterEkliptik || *kind == K::Konjunktion || *kind == K::UntereKonjunktion ||
                         *kind == K::ObereKonjunktion || *kind == K::Opposition || *kind == K::ElongationOst ||
                         *kind == K::ElongationWest;
    if (!notable) continue;
    out.push_back({e.jd_local, std::string(BodyText(e.body, UiLanguage())), std::string(ChartText(e.event, UiLanguage()))});
  }
  return out;
}

tPageHeading Page_Heading(const std::string& place_name, const Site& site, Interpolation mode) {
  tPageHeading h;
  const QString lat = QString::fromStdString(FormatFixed(std::abs(site.Site_nLat), 2)) + "° " +
                      (site.Site_nLat >= 0 ? Tr(QT_TRANSLATE_NOOP("AlmanacPages", "N"))
                                           : Tr(QT_TRANSLATE_NOOP("AlmanacPages", "S")));
  const QString lon = QString::fromStdString(FormatFixed(std::abs(site.Site_eLon), 2)) + "° " +
                      (site.Site_eLon >= 0 ? Tr(QT_TRANSLATE_NOOP("AlmanacPages", "O"))
                                           : Tr(QT_TRANSLATE_NOOP("AlmanacPages", "W")));
  const QString where = lat + ", " + lon;
  h.place = (place_name.empty() ? Tr(QT_TRANSLATE_NOOP("AlmanacPages", "Ort: %1")).arg(where)
                                : Tr(QT_TRANSLATE_NOOP("AlmanacPages", "Ort: %1 (%2)"))
                                      .arg(QString::fromStdString(place_name), where))
                .toStdString();
  if (site.Site_Zone) {
    h.zone = Tr(QT_TRANSLATE_NOOP("AlmanacPages", "Zeitzone: %1, Sommerzeit nach den Regeln der Zone"))
                 .arg(QString::fromStdString(site.Site_Zone->name))
                 .toStdString();
  } else {
    h.zone = Tr(QT_TRANSLATE_NOOP("AlmanacPages",
                                  "Zeitzone: %1, Sommerzeit (+1 h) vom letzten Sonntag im März bis zum letzten "
                                  "Sonntag im Oktober"))
                 .arg(QString::fromStdString(OffsetText(site.Site_TZ_Hours)))
                 .toStdString();
  }
  h.mode = TrS(mode == Interpolation::Precise
                   ? QT_TRANSLATE_NOOP("AlmanacPages", "Zeiten: präzise (zwischen den Stundenwerten verfeinert)")
                   : QT_TRANSLATE_NOOP("AlmanacPages", "Zeiten: klassisch (aus den Stundenwerten)"));
  return h;
}

std::string Minute_Text(double jd_local, double day_jd) {
  long long seconds = std::llround((jd_local - day_jd) * 86400.0);
  seconds = std::clamp(seconds, 0LL, 86399LL);
  const long long minutes = (seconds + 30) / 60;
  return LastDigits(minutes / 60, 2) + ":" + LastDigits(minutes % 60, 2);
}

QPageSize System_Paper() {
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                          : QPageSize(QPageSize::A4);
}

std::string Year_Table_Csv(const std::vector<tAlmanacDay>& days, const tPageHeading& heading) {
  std::string out;
  const auto quoted = [](const std::string& s) {
    std::string q = "\"";
    for (const char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
  };
  for (const std::string& line : Heading_Lines(heading)) out += quoted(line) + "\r\n";
  out += "\r\n";
  const std::array<const char*, 15> heads = {
      QT_TRANSLATE_NOOP("AlmanacPages", "Datum"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Sonnenaufgang"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Sonnenuntergang"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Tageslänge"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Bürgerliche Dämmerung Beginn"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Bürgerliche Dämmerung Ende"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Nautische Dämmerung Beginn"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Nautische Dämmerung Ende"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Astronomische Dämmerung Beginn"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Astronomische Dämmerung Ende"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Mondaufgang"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Monduntergang"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Mond beleuchtet (%)"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Mondalter (Tage)"),
      QT_TRANSLATE_NOOP("AlmanacPages", "Mondphase")};
  for (std::size_t k = 0; k < heads.size(); ++k) {
    if (k) out += ',';
    out += quoted(TrS(heads[k]));
  }
  out += "\r\n";
  for (const tAlmanacDay& d : days) {
    const auto t = [&](const std::optional<double>& v) { return v ? Minute_Text(*v, d.day_jd) : std::string(); };
    const std::array<std::string, 15> cells = {
        Date_Text(d.day_jd), t(d.rise),           t(d.set),          Length_Text(d),      t(d.civil_begin),
        t(d.civil_end),      t(d.nautical_begin), t(d.nautical_end), t(d.astro_begin),    t(d.astro_end),
        t(d.moon_rise),      t(d.moon_set),       Fraction_Text(d),  Age_Text(d),         Phase_Text(d)};
    for (std::size_t k = 0; k < cells.size(); ++k) out += (k ? "," : "") + cells[k];
    out += "\r\n";
  }
  return out;
}

std::string Year_Table_Text(int year, const std::vector<tAlmanacDay>& days, const tPageHeading& heading,
                            const tYearTableOptions& options) {
  const auto grid = By_Month(days);
  std::string out;
  bool first_page = true;
  for (const YearPage& yp : Year_Pages(options)) {
    if (!first_page) out += "\f\n";
    first_page = false;
    out += Tr(yp.title).arg(year).toStdString() + "\n";
    for (const std::string& line : Heading_Lines(heading)) out += line + "\n";
    out += "\n    ";
    for (const char* m : kMonthNames) {
      out += ' ';
      out += Pad(Tr(m).left(11).toStdString(), 11);
    }
    out += "\n    ";
    // Strings appended piece by piece: GCC 12 takes "x" + string for an overlapping copy.
    const auto pair = [&out](const std::string& a, const std::string& b) {
      out += ' ';
      out += Pad(a, 5);
      out += ' ';
      out += Pad(b, 5);
    };
    for (int m = 0; m < 12; ++m) pair(TrS(yp.first), TrS(yp.second));
    out += "\n";
    for (int d = 0; d < 31; ++d) {
      out += Pad(std::to_string(d + 1), 3) + " ";
      for (int m = 0; m < 12; ++m) {
        const tAlmanacDay* a = grid[static_cast<std::size_t>(m)][static_cast<std::size_t>(d)];
        if (a)
          pair(Cell(*a, (*a).*yp.a, yp.sun), Cell(*a, (*a).*yp.b, yp.sun));
        else
          out.append(12, ' ');
      }
      while (!out.empty() && out.back() == ' ') out.pop_back();
      out += "\n";
    }
    out += '\n';
    out += TrS(yp.sun ? kLegendSun : kLegend);
    out += '\n';
  }
  return out;
}

void Save_Year_Table_Pdf(const std::filesystem::path& path, int year, const std::vector<tAlmanacDay>& days,
                         const tPageHeading& heading, const tYearTableOptions& options, const QPageSize& paper) {
  const auto grid = By_Month(days);
  const std::vector<YearPage> pages = Year_Pages(options);
  Save_Pdf_Pages(path, paper, QPageLayout::Landscape, kPageDpi, static_cast<int>(pages.size()),
                 [&](QPainter& p, int k, const QRectF& page) {
                   Paint_Year_Page(p, page, year, pages[static_cast<std::size_t>(k)], grid, heading);
                 });
}

void Save_Month_Page_Pdf(const std::filesystem::path& path, const std::vector<tAlmanacDay>& days,
                         const std::vector<tNotableEvent>& events, const tPageHeading& heading,
                         const QPageSize& paper) {
  Save_Pdf_Pages(path, paper, QPageLayout::Portrait, kPageDpi, 1,
                 [&](QPainter& p, int, const QRectF& page) { Paint_Month_Page(p, page, days, events, heading); });
}

std::string Month_Page_Text(const std::vector<tAlmanacDay>& days, const std::vector<tNotableEvent>& events,
                            const tPageHeading& heading) {
  std::string out = Month_Title(days).toStdString() + "\n";
  for (const std::string& line : Heading_Lines(heading)) out += line + "\n";
  out += "\n";
  const auto& columns = Month_Columns();
  // The day's column left-aligned, the others right-aligned under their heads.
  const auto cell = [&](std::size_t k, const std::string& text) {
    if (k == 0) return text + std::string(text.size() < 6 ? 6 - text.size() : 0, ' ');
    return Pad(text, columns[k].width > 0 ? 11 : 0) + " ";
  };
  for (std::size_t k = 0; k < columns.size(); ++k) out += cell(k, TrS(columns[k].head));
  while (!out.empty() && out.back() == ' ') out.pop_back();
  out += "\n";
  for (const tAlmanacDay& d : days) {
    std::string line;
    for (std::size_t k = 0; k < columns.size(); ++k) line += cell(k, columns[k].text(d));
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  out += '\n';
  out += TrS(QT_TRANSLATE_NOOP("AlmanacPages", "Ereignisse des Monats"));
  out += '\n';
  for (const tNotableEvent& e : events) out += Event_Line(e) + "\n";
  out += '\n';
  out += TrS(kLegendSun);
  out += '\n';
  return out;
}

void Save_Year_Table(const std::filesystem::path& path, int year, const std::vector<tAlmanacDay>& days,
                     const tPageHeading& heading, const tYearTableOptions& options) {
  const auto type = Table_File_Type(path);
  if (!type) throw Error("The file must end in .pdf, .csv or .txt", path.string());
  if (*type == TableFileType::Pdf) return Save_Year_Table_Pdf(path, year, days, heading, options, System_Paper());
  Write_Text_File(path, *type == TableFileType::Csv ? Year_Table_Csv(days, heading)
                                                     : Year_Table_Text(year, days, heading, options));
}

void Save_Month_Page(const std::filesystem::path& path, const std::vector<tAlmanacDay>& days,
                     const std::vector<tNotableEvent>& events, const tPageHeading& heading) {
  const auto type = Table_File_Type(path);
  if (!type) throw Error("The file must end in .pdf, .csv or .txt", path.string());
  if (*type == TableFileType::Pdf) return Save_Month_Page_Pdf(path, days, events, heading, System_Paper());
  Write_Text_File(path, *type == TableFileType::Csv ? Year_Table_Csv(days, heading)
                                                     : Month_Page_Text(days, events, heading));
}

}  // namespace vk
