// The day chart's frame, time scale, Sun bands, bars, pictures and the order
// of the layers.
#include "chart/day_chart.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/number_text.h"
#include "language/translations.h"
#include "timecalc/calendar.h"
#include "timecalc/numeric.h"

namespace vk {

namespace {

// 96 dots per inch as dots per metre.
constexpr int kDotsPerMetre96 = 3780;

// A horizontal line of `width` rows centred on row y (rows y - width/2 …),
// from column min(x1, x2) up to, not including, max(x1, x2).
void HLine(QPainter& p, int x1, int x2, int y, int width, const QColor& c) {
  p.fillRect(QRect(std::min(x1, x2), y - width / 2, std::abs(x2 - x1), width), c);
}

// A vertical line of `width` columns centred on column x, rows y1 up to y2.
void VLine(QPainter& p, int x, int y1, int y2, int width, const QColor& c) {
  p.fillRect(QRect(x - width / 2, std::min(y1, y2), width, std::abs(y2 - y1)), c);
}

// Text with its top-left corner at (x, y_top), transparent background.
void Text_Out(QPainter& p, int x, int y_top, const QString& text) {
  p.drawText(x, y_top + p.fontMetrics().ascent(), text);
}

// One horizontal line per minute from hour value a to b (both ends included),
// wrapping past midnight to the top of the chart.
void Paint_Minutes(QPainter& p, int x1, int x2, double a, double b, const QColor& c) {
  const int s = Hours_To_Minute(a);
  int e = Hours_To_Minute(b);
  if (s > e) e += 1440;
  for (int i = s; i <= e; ++i) HLine(p, x1, x2, Chart_Y(static_cast<double>(((i % 1440) + 1440) % 1440)), 2, c);
}

// One horizontal line per minute from hour value a to b (both ends
// included) within the day, without wrapping: 24:00 is the day's last row.
void Paint_Day_Minutes(QPainter& p, int x1, int x2, double a, double b, const QColor& c) {
  const int s = std::clamp(Hours_To_Minute(a), 0, 1439);
  const int e = std::clamp(Hours_To_Minute(b), 0, 1439);
  for (int i = s; i <= e; ++i) HLine(p, x1, x2, Chart_Y(static_cast<double>(i)), 2, c);
}

QFont Named_Font(const QStringList& families, int pixel_size) {
  QFont f;
  f.setFamilies(families);
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixel_size);
  return f;
}

// Point sizes on a 96-dpi canvas, rounded as the platform does.
constexpr int Pixels_Of_Points(int points) { return (points * 96 + 36) / 72; }

}  // namespace

const std::array<const char*, 7> Weekday_Names = {
    QT_TRANSLATE_NOOP("DayChart", "Sonntag"),    QT_TRANSLATE_NOOP("DayChart", "Montag"),
    QT_TRANSLATE_NOOP("DayChart", "Dienstag"),   QT_TRANSLATE_NOOP("DayChart", "Mittwoch"),
    QT_TRANSLATE_NOOP("DayChart", "Donnerstag"), QT_TRANSLATE_NOOP("DayChart", "Freitag"),
    QT_TRANSLATE_NOOP("DayChart", "Samstag")};

std::string Chart_Tr(const char* text) { return QCoreApplication::translate("DayChart", text).toStdString(); }

// Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune.
const std::array<tBodyChart, kChartBodyCount> Body_Charts = {{
    {Moon, QT_TRANSLATE_NOOP("DayChart", "MOO A: "), true, 804, 900, QColor(160, 160, 160), PictureSet::MOO, -1, 802, 48,
     ImageDrawStyle::Transparent},
    {Mercury, QT_TRANSLATE_NOOP("DayChart", "MER A: "), false, 144, 156, QColor(160, 160, 160), PictureSet::MER, -1, 130, 20,
     ImageDrawStyle::Transparent},
    {Venus, QT_TRANSLATE_NOOP("DayChart", "VEN A: "), false, 240, 260, QColor(240, 240, 160), PictureSet::VEN, -1, 226, 24,
     ImageDrawStyle::Transparent},
    {Mars, QT_TRANSLATE_NOOP("DayChart", "MAR A: "), false, 344, 356, QColor(240, 160, 160), PictureSet::List1, 2, 318, 24,
     ImageDrawStyle::Transparent},
    {Jupiter, QT_TRANSLATE_NOOP("DayChart", "JUP A: "), false, 442, 458, QColor(240, 240, 160), PictureSet::List1, 3, 418, 24,
     ImageDrawStyle::Transparent},
    {Saturn, QT_TRANSLATE_NOOP("DayChart", "SAT A: "), false, 544, 556, QColor(160, 160, 128), PictureSet::List1, 4, 518, 24,
     ImageDrawStyle::Transparent},
    {Uranus, QT_TRANSLATE_NOOP("DayChart", "URA A: "), false, 646, 654, QColor(128, 160, 128), PictureSet::List1, 5, 618, 24,
     ImageDrawStyle::Transparent},
    {Neptune, QT_TRANSLATE_NOOP("DayChart", "NEP A: "), false, 747, 753, QColor(96, 128, 160), PictureSet::List1, 6, 718, 24,
     ImageDrawStyle::Transparent},
}};

DayChart::DayChart() : Img(kChartWidth, kChartHeight, QImage::Format_RGB32) {
  Img.setDotsPerMeterX(kDotsPerMetre96);
  Img.setDotsPerMeterY(kDotsPerMetre96);
  Img.fill(Qt::black);
}

tChartPictures ShippedChartPictures() {
  tChartPictures p;
  try { p.MOO = &ImageList_MOO(); } catch (const std::exception&) {}
  try { p.MER = &ImageList_MER(); } catch (const std::exception&) {}
  try { p.VEN = &ImageList_VEN(); } catch (const std::exception&) {}
  try { p.List1 = &ImageList1(); } catch (const std::exception&) {}
  return p;
}

QFont Title_Font() { return Named_Font({"Arial", "Liberation Sans"}, Pixels_Of_Points(44)); }
QFont Scale_Font() { return Named_Font({"Arial", "Liberation Sans"}, Pixels_Of_Points(24)); }
QFont List_Font() { return Named_Font({"Arial Narrow", "Liberation Sans Narrow"}, Pixels_Of_Points(24)); }
QFont Legend_Font() { return Named_Font({"Arial Narrow", "Liberation Sans Narrow"}, Pixels_Of_Points(16)); }
QFont Memo_Font() {
  QFont f;
  f.setFamilies({"Fixedsys", "Courier New", "Liberation Mono", "DejaVu Sans Mono"});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setPixelSize(Pixels_Of_Points(9));
  return f;
}

int Chart_Y(double minute) { return static_cast<int>(std::nearbyint(minute * 2000.0 / 1440.0 + 100.0)); }

int Hours_To_Minute(double hours) { return static_cast<int>(std::nearbyint(hours * 60.0)); }

double Time_Of_Day_Hours(double jd) { return Mod_Positive(jd + 0.5, 1.0) * 24.0; }

std::string Chart_Title(double Sel_JD) {
  const CalendarTime c = JDToCalendar(Sel_JD);
  const long long w = static_cast<long long>(std::trunc(Sel_JD + 1.500001)) % 7;
  return std::to_string(c.year) + "-" + LastDigits(c.month, 2) + "-" + LastDigits(c.day, 2) + "  " + Chart_Tr(Weekday_Names[(w + 7) % 7]);
}

namespace {

int Last_Event(const EventStore& store) {
  return std::min(store.Event_Count, static_cast<int>(store.Event_Tab.size()) - 1);
}

// The first index with jd_local >= Sel_JD (the table is in ascending order
// of jd_local), or Last_Event + 1.
int First_At_Or_After(const EventStore& store, double Sel_JD) {
  const auto begin = store.Event_Tab.begin() + 1;
  const auto end = store.Event_Tab.begin() + 1 + Last_Event(store);
  const auto it = std::partition_point(begin, end, [Sel_JD](const tEventData& e) { return e.jd_local < Sel_JD; });
  return static_cast<int>(it - store.Event_Tab.begin());
}

// The Sun's crossings of the four levels (astronomical, nautical, civil twilight, horizon).
const std::array<EventKind, 4> kUpKinds = {EventKind::MAstrD, EventKind::MNautD, EventKind::MBurgD, EventKind::Aufgang};
const std::array<EventKind, 4> kDownKinds = {EventKind::AAstrD, EventKind::ANautD, EventKind::ABurgD,
                                             EventKind::Untergang};

}  // namespace

std::optional<int> Find_Event(const EventStore& store, int from, double Sel_JD, std::string_view body,
                              std::string_view event) {
  const int last = Last_Event(store);
  // Every entry before the first one at or after Sel_JD fails the date test.
  for (int n = std::max(std::max(from, 1), First_At_Or_After(store, Sel_JD)); n <= last; ++n) {
    const tEventData& e = store.Event_Tab[static_cast<std::size_t>(n)];
    if (e.jd_local < Sel_JD) continue;
    if (!body.empty() && e.body != body) continue;
    if (!event.empty() && e.event != event) continue;
    return n;
  }
  return std::nullopt;
}

bool Sun_Day_Is_Regular(const EventStore& store, double Sel_JD) {
  for (int k = 0; k < kSunEventCount; ++k) {
    const auto n = Find_Event(store, 1, Sel_JD, BodyNames[Sun], EventName(SunEventKinds[static_cast<std::size_t>(k)]));
    if (!n) return false;
    const double limit = (k == ABurgD || k == ANautD || k == AAstrD) ? Sel_JD + 1.5 : Sel_JD + 1.0;
    if (store.Event_Tab[static_cast<std::size_t>(*n)].jd_local >= limit) return false;
  }
  return true;
}

tSunSpans Find_Sun_Spans(const EventStore& store, double Sel_JD, std::optional<double> noon) {
  const int last = Last_Event(store);
  const int n0 = First_At_Or_After(store, Sel_JD);
  const double c_noon = noon.value_or(12.0);
  // The partner of a crossing at hour t: mirrored about noon or about the
  // midnight opposite, whichever is nearer.
  const auto mirror = [c_noon](double t) {
    const double to_noon = std::fabs(Mod_Positive(t - c_noon + 12.0, 24.0) - 12.0);
    const double centre = to_noon <= 6.0 ? c_noon : c_noon + 12.0;
    return Mod_Positive(2.0 * centre - t, 24.0);
  };
  const auto sun_event = [&](int n, EventKind kind) {
    const tEventData& e = store.Event_Tab[static_cast<std::size_t>(n)];
    return e.body == BodyNames[Sun] && e.event == EventName(kind);
  };

  tSunSpans spans{};
  for (std::size_t k = 0; k < 4; ++k) {
    const auto up = Find_Event(store, n0, Sel_JD, BodyNames[Sun], EventName(kUpKinds[k]));
    const auto down = Find_Event(store, n0, Sel_JD, BodyNames[Sun], EventName(kDownKinds[k]));
    const auto jd = [&](int n) { return store.Event_Tab[static_cast<std::size_t>(n)].jd_local; };
    const bool has_up = up && jd(*up) < Sel_JD + 1.0;
    const bool has_down = down && jd(*down) < Sel_JD + 1.5;
    tSunSpan& span = spans[k];
    if (has_up && has_down) {
      span.from = Time_Of_Day_Hours(jd(*up));
      span.to = Time_Of_Day_Hours(jd(*down));
    } else if (has_up) {
      span.from = Time_Of_Day_Hours(jd(*up));
      span.to = mirror(*span.from);
    } else if (has_down) {
      span.to = Time_Of_Day_Hours(jd(*down));
      span.from = mirror(*span.to);
    } else {
      int dir = 0;  // +1 up, -1 down
      for (int n = n0; n <= last && dir == 0; ++n)
        dir = sun_event(n, kDownKinds[k]) ? 1 : sun_event(n, kUpKinds[k]) ? -1 : 0;
      for (int n = n0 - 1; n >= 1 && dir == 0; --n)
        dir = sun_event(n, kUpKinds[k]) ? 1 : sun_event(n, kDownKinds[k]) ? -1 : 0;
      span.all_day = dir > 0;
    }
  }
  return spans;
}

void Draw_Sun_Spans(QPainter& p, const tSunSpans& spans, std::optional<double> noon, const tChartPalette& colours) {
  for (std::size_t k = 0; k < 4; ++k) {
    const QColor& colour = colours.levels[k];
    if (spans[k].all_day) {
      for (int i = 0; i < 1440; ++i) HLine(p, 100, 900, Chart_Y(i), 2, colour);
    } else if (spans[k].from && spans[k].to) {
      Paint_Minutes(p, 100, 900, *spans[k].from, *spans[k].to, colour);
    }
  }
  if (noon) {
    const int m = Hours_To_Minute(*noon);
    HLine(p, 100, 900, Chart_Y(static_cast<double>(((m % 1440) + 1440) % 1440)), 2, colours.noon);
  }
}

tSunTimes Find_Sun_Times(const EventStore& store, double Sel_JD) {
  tSunTimes sun{};
  for (int k = 0; k < kSunEventCount; ++k) {
    const auto n = Find_Event(store, 1, Sel_JD, BodyNames[Sun], EventName(SunEventKinds[static_cast<std::size_t>(k)]));
    if (!n) continue;
    double v = Time_Of_Day_Hours(store.Event_Tab[static_cast<std::size_t>(*n)].jd_local);
    // The evening ends after midnight lie beyond 24 hours, the civil one too,
    // so that no band runs backwards round the clock.
    if ((k == ABurgD || k == ANautD || k == AAstrD) && sun[Untergang] && v < *sun[Untergang]) v += 24.0;
    sun[static_cast<std::size_t>(k)] = v;
  }
  return sun;
}

void Draw_Sun_Bands(QPainter& p, const tSunTimes& sun, const tChartPalette& colours) {
  struct Band {
    int from, to;
    std::size_t level;  // of colours.levels
  };
  static const Band kMorning[] = {{MAstrD, MNautD, 0}, {MNautD, MBurgD, 1}, {MBurgD, Aufgang, 2}, {Aufgang, Untergang, 3}};
  static const Band kEvening[] = {{Untergang, ABurgD, 2}, {ABurgD, ANautD, 1}, {ANautD, AAstrD, 0}};
  const auto paint = [&](const Band& b) {
    const auto& a = sun[static_cast<std::size_t>(b.from)];
    const auto& e = sun[static_cast<std::size_t>(b.to)];
    if (a && e) Paint_Minutes(p, 100, 900, *a, *e, colours.levels[b.level]);
  };
  for (const Band& b : kMorning) paint(b);
  if (const auto& noon = sun[WahrerMittag]) {
    const int m = Hours_To_Minute(*noon);
    HLine(p, 100, 900, Chart_Y(static_cast<double>(((m % 1440) + 1440) % 1440)), 2, colours.noon);
  }
  for (const Band& b : kEvening) paint(b);
}

tRiseSet Find_Rise_Set(const EventStore& store, double Sel_JD, const tBodyChart& body) {
  tRiseSet rs;
  const auto hours_of = [&](int n) {
    const CalendarTime c = JDToCalendar(store.Event_Tab[static_cast<std::size_t>(n)].jd_local);
    return c.hour + c.minute / 60.0 + c.second / 3600.0;
  };
  const auto rise = Find_Event(store, 1, Sel_JD, BodyNames[body.body], EventName(EventKind::Aufgang));
  if (rise) {
    rs.Rise_h = hours_of(*rise);
    rs.Rise_Text = Date_Time_Text(store.Event_Tab[static_cast<std::size_t>(*rise)].jd_local);
  }
  const int from = (body.set_from_start || !rise) ? 1 : *rise + 1;
  const auto set = Find_Event(store, from, Sel_JD, BodyNames[body.body], EventName(EventKind::Untergang));
  if (set) {
    double h = hours_of(*set);
    if (rs.Rise_h && h < *rs.Rise_h) h += 24.0;
    rs.Set_h = h;
    rs.Set_Text = Date_Time_Text(store.Event_Tab[static_cast<std::size_t>(*set)].jd_local);
  }
  rs.line = Chart_Tr(body.prefix) + rs.Rise_Text + Chart_Tr(QT_TRANSLATE_NOOP("DayChart", "  U: ")) + rs.Set_Text;
  // Near the poles the next rise or set may lie days or years ahead: the bar
  // is then taken from the day's own crossings.
  const auto jd = [&](int n) { return store.Event_Tab[static_cast<std::size_t>(n)].jd_local; };
  rs.Bar_Regular = rise && set && jd(*rise) < Sel_JD + 1.0 && jd(*set) < jd(*rise) + 1.0;
  if (!rs.Bar_Regular) Find_Up_Spans(store, Sel_JD, body.body, rs);
  return rs;
}

std::optional<int> Find_Phase_Day(const PhaseTable& phases, double Sel_JD) {
  const int last = std::min(phases.Phase_Count, kMaxPhaseDays);
  for (int k = 1; k <= last; ++k)
    if (phases.Phase_Tab[static_cast<std::size_t>(k)].jd >= Sel_JD) return k;
  return std::nullopt;
}

void Draw_Body_Bar(QPainter& p, const tBodyChart& body, const tRiseSet& rs, const PhaseTable& phases, double Sel_JD,
                   const tChartPictures& pictures, double site_lat, const tChartPalette& colours) {
  std::optional<double> picture_h;
  if (rs.Bar_Regular) {
    if (rs.Rise_h && rs.Set_h) Paint_Minutes(p, body.bar_x1, body.bar_x2, *rs.Rise_h, *rs.Set_h, colours.bar(body));
    picture_h = rs.Rise_h;
  } else {
    for (const auto& [from, to] : rs.Up_Spans) Paint_Day_Minutes(p, body.bar_x1, body.bar_x2, from, to, colours.bar(body));
    picture_h = rs.Picture_h;
  }
  if (!picture_h) return;

  const ImageList* list = nullptr;
  switch (body.pictures) {
    case PictureSet::MOO: list = pictures.MOO; break;
    case PictureSet::MER: list = pictures.MER; break;
    case PictureSet::VEN: list = pictures.VEN; break;
    case PictureSet::List1: list = pictures.List1; break;
  }
  if (list == nullptr) return;
  int index = body.fixed_index;
  if (index < 0) {
    const auto day = Find_Phase_Day(phases, Sel_JD);
    if (!day) return;
    const tPhaseData& d = phases.Phase_Tab[static_cast<std::size_t>(*day)];
    index = body.pictures == PictureSet::MOO ? d.moon : body.pictures == PictureSet::MER ? d.mercury : d.venus;
  }
  const int s = Hours_To_Minute(*picture_h);
  const int y = Chart_Y(static_cast<double>(((s % 1440) + 1440) % 1440)) - body.picture_offset;
  // Seen from the south the phases stand the other way round.
  const bool mirrored = body.fixed_index < 0 && site_lat < 0.0;
  list->draw(p, body.picture_x, y, index, body.style, mirrored);
}

void Draw_Chart_Background(QPainter& p, const tChartPalette& colours) {
  // Black above, dark grey below, lighter right of the scale: each pixel filled once.
  p.fillRect(QRect(0, 0, 2500, 1100), colours.ground);
  p.fillRect(QRect(0, 1100, 900, 1100), colours.afternoon_plot);
  p.fillRect(QRect(900, 1100, 1600, 1100), colours.afternoon_list);
}

void Draw_Time_Scale(QPainter& p, const tChartPalette& colours) {
  const QColor& kWhite = colours.ink;
  VLine(p, 100, 100, 2100, 4, kWhite);
  VLine(p, 900, 100, 2100, 4, kWhite);
  p.setFont(Scale_Font());
  p.setPen(kWhite);
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i <= 144; ++i) {
    const int y = static_cast<int>(std::nearbyint(i * (2000.0 / 144.0) + 100.0));
    HLine(p, 100, 90, y, 2, kWhite);
    HLine(p, 900, 910, y, 2, kWhite);
  }
  for (int i = 0; i <= 48; ++i) {
    const int y = static_cast<int>(std::nearbyint(i * (2000.0 / 48.0) + 100.0));
    HLine(p, 100, 75, y, 3, kWhite);
    HLine(p, 900, 925, y, 3, kWhite);
  }
  const int half = p.fontMetrics().height() / 2;
  for (int i = 0; i <= 24; ++i) {
    const int y = static_cast<int>(std::nearbyint(i * (2000.0 / 24.0) + 100.0));
    HLine(p, 100, 65, y, 4, kWhite);
    HLine(p, 900, 935, y, 4, kWhite);
    const QString label = QString::fromLatin1(i % 24 < 10 ? "0" : "") + QString::number(i % 24);
    Text_Out(p, 5, y - half, label);
    Text_Out(p, 945, y - half, label);
  }
}

// A bar beside the time scale, inside the plot, from the first contact to
// the last of every eclipse (lunar red, solar orange) and occultation (light
// blue) the site sees on the day.
void Draw_Headline_Marks(QPainter& p, const SiteHeadlines& seen, double Sel_JD, const tChartPalette& colours) {
  const std::vector<HeadlineSpan> spans = HeadlineSpans(seen);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const double from = std::max(LocalJD(spans[i].first, seen.site), Sel_JD);
    const double to = std::min(LocalJD(spans[i].last, seen.site), Sel_JD + 1.0);
    if (!(from < to)) continue;
    const QColor colour = i < seen.lunar.size()                      ? colours.headlines[0]
                          : i < seen.lunar.size() + seen.solar.size() ? colours.headlines[1]
                                                                       : colours.headlines[2];
    const int y1 = Chart_Y((from - Sel_JD) * 1440.0), y2 = Chart_Y((to - Sel_JD) * 1440.0);
    p.fillRect(QRect(104, y1, 14, std::max(2, y2 - y1)), colour);
  }
}

void Paint_Day_Chart(QPainter& p, DayChart& chart, const EventStore& store, const PhaseTable& phases) {
  const tChartPalette& colours = chart.Colours;
  const tChartPictures pictures = colours.print ? Print_Chart_Pictures(chart.Pictures) : chart.Pictures;
  Draw_Chart_Background(p, colours);
  chart.Memo1.clear();

  chart.Sun_Times = Find_Sun_Times(store, chart.Sel_JD);
  chart.Sun_Regular = Sun_Day_Is_Regular(store, chart.Sel_JD);
  if (chart.Sun_Regular) {
    Draw_Sun_Bands(p, chart.Sun_Times, colours);
  } else {
    // Near the poles the next event of a kind may lie weeks ahead: the bands
    // are taken from the day's own crossings instead.
    std::optional<double> noon;
    if (const auto n = Find_Event(store, 1, chart.Sel_JD, BodyNames[Sun], EventName(EventKind::WahrerMittag));
        n && store.Event_Tab[static_cast<std::size_t>(*n)].jd_local < chart.Sel_JD + 1.0)
      noon = Time_Of_Day_Hours(store.Event_Tab[static_cast<std::size_t>(*n)].jd_local);
    Draw_Sun_Spans(p, Find_Sun_Spans(store, chart.Sel_JD, noon), noon, colours);
  }
  if (chart.Show_Fotolicht) Draw_Light_Spans(p, Find_Light_Spans(store, chart.Sel_JD), colours);

  for (std::size_t b = 0; b < Body_Charts.size(); ++b) {
    const tBodyChart& body = Body_Charts[b];
    chart.Rise_Sets[b] = Find_Rise_Set(store, chart.Sel_JD, body);
    const tRiseSet& rs = chart.Rise_Sets[b];
    if (b == 0) {
      const QFontMetrics fm(Memo_Font(), &chart.Img);
      chart.Memo1_Width = fm.horizontalAdvance(QString::fromStdString(rs.line)) + 10;
      chart.Memo1_Height = 10 * fm.height() + 10;
      chart.Memo1.push_back(rs.line);
      chart.Memo1.emplace_back();
    } else {
      chart.Memo1.push_back(rs.line);
    }
    Draw_Body_Bar(p, body, rs, phases, chart.Sel_JD, pictures, chart.Site_nLat, colours);
  }

  chart.Light_Lines = Day_Light_Lines(store, chart.Sel_JD);

  Draw_Time_Scale(p, colours);
  Draw_Headline_Marks(p, store.headlines, chart.Sel_JD, colours);

  p.setFont(Title_Font());
  p.setPen(colours.ink);
  Text_Out(p, 100, 5, QString::fromStdString(Chart_Title(chart.Sel_JD)));

  chart.Listed_Events = List_Day_Events(store, chart.Sel_JD, chart.Show_Daemmerungen != 0,
                                        chart.Show_Auf_Untergaenge != 0, chart.Show_Meridian != 0,
                                        chart.Show_Fotolicht != 0);
  if (chart.Show_Leaders) {
    Add_Day_Light_Labels(chart.Listed_Events, store, chart.Sel_JD);
    Spread_Labels(chart.Listed_Events);
  }
  Draw_Day_Events(p, chart.Listed_Events, chart.Show_Leaders != 0, colours);
  if (chart.Show_Legend) Draw_Legend(p, colours);
  if (chart.Now_Local_JD) Draw_Now_Line(p, chart.Sel_JD, *chart.Now_Local_JD, colours);
}

bool Render_Day_Chart(DayChart& chart, const EventStore& store, const PhaseTable& phases) {
  if (chart.Chart_Busy == 1) return false;  // a rendering from inside the copy to the screen
  chart.Chart_Busy = 1;
  if (chart.Img.width() != kChartWidth || chart.Img.height() != kChartHeight ||
      chart.Img.format() != QImage::Format_RGB32) {
    chart.Img = QImage(kChartWidth, kChartHeight, QImage::Format_RGB32);
    chart.Img.setDotsPerMeterX(kDotsPerMetre96);
    chart.Img.setDotsPerMeterY(kDotsPerMetre96);
  }
  {
    QPainter p(&chart.Img);
    Paint_Day_Chart(p, chart, store, phases);
  }
  if (chart.Copy_To_Screen) chart.Copy_To_Screen(chart.Img);
  chart.Chart_Busy = 0;
  return true;
}

tDayFields Day_Fields(double Sel_JD) {
  const CalendarTime c = JDToCalendar(Sel_JD);
  tDayFields f;
  f.Sel_Jahr = c.year;
  f.Sel_Monat = c.month;
  f.Sel_Daag = c.day;
  f.Jahr_Text = std::to_string(c.year);
  f.Monat_Text = LastDigits(c.month, 2);
  f.Daag_Text = LastDigits(c.day, 2);
  f.DST_Text = Chart_Tr(IsSummerTime(Sel_JD) ? QT_TRANSLATE_NOOP("DayChart", "(+01:00 Sommerzeit)")
                                              : QT_TRANSLATE_NOOP("DayChart", "(Normalzeit)"));
  return f;
}

tDayFields Day_Fields(double Sel_JD, const ZoneTable* zone) {
  tDayFields f = Day_Fields(Sel_JD);
  if (!zone) return f;
  ZoneRule rule;
  rule.table = std::shared_ptr<const ZoneTable>(std::shared_ptr<const ZoneTable>{}, zone);
  const ZoneState s = ZoneStateOnDay(rule, Sel_JD);
  const std::string abbreviation =
      UiLanguage() == Language::German ? GermanAbbreviation(s.abbreviation) : s.abbreviation;
  const std::string offset = OffsetText(s.offset_hours);
  std::string text;
  text.reserve(abbreviation.size() + offset.size() + 4);
  text += '(';
  text += abbreviation;
  text += ", ";
  text += offset;
  text += ')';
  f.DST_Text = std::move(text);
  return f;
}

tDayFields Refresh_Day(DayChart& chart, const EventStore& store, const PhaseTable& phases,
                       const std::function<void(const tDayFields&)>& write_fields,
                       const std::function<void()>& rendered) {
  const tDayFields f = Day_Fields(chart.Sel_JD, chart.Zone.get());
  if (write_fields) write_fields(f);
  if (Render_Day_Chart(chart, store, phases) && rendered) rendered();
  return f;
}

void Copy_Chart_To(const QImage& Img, QImage& target) {
  if (target.isNull() || Img.isNull()) return;
  QImage scaled = Img.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (scaled.format() != target.format()) scaled = scaled.convertToFormat(target.format());
  target = std::move(scaled);
}

}  // namespace vk
