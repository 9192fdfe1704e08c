// The day's event list beside the timeline, and the texts of the chart.
#include <QPainter>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/number_text.h"
#include "chart/day_chart.h"
#include "events/event_kinds.h"
#include "language/translations.h"
#include "timecalc/calendar.h"
#include "timecalc/numeric.h"

namespace vk {

namespace {

// The Julian day rounded to the nearest whole second of its day.
double Round_To_Second(double jd) {
  const double day = std::floor(jd + 0.5);
  const double seconds = std::nearbyint((jd + 0.5 - day) * 86400.0);
  return day - 0.5 + seconds / 86400.0;
}

std::string Trim(const std::string& s) {
  const auto a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  const auto b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

// The list filters: twilights with sunrise and sunset, the rises and sets of
// the Moon and the planets, meridian transits (true noon is always listed),
// the golden and blue hour's bounds.
bool Skipped(const tEventData& e, bool show_daemmerungen, bool show_auf_untergaenge, bool show_meridian,
             bool show_fotolicht) {
  const auto category = CategoryOf(e.body, e.event);
  if (!category) return false;
  switch (*category) {
    case EventCategory::Twilight:
    case EventCategory::SunRiseSet: return !show_daemmerungen;
    case EventCategory::BodyRiseSet: return !show_auf_untergaenge;
    case EventCategory::Transit: return !show_meridian && e.event == EventName(EventKind::ImMeridian);
    case EventCategory::PhotoLight: return !show_fotolicht;
    default: return false;
  }
}

}  // namespace

std::string Date_Time_Text(double jd) {
  const CalendarTime c = JDToCalendar(Round_To_Second(jd));
  const auto two = [](double v) { return LastDigits(static_cast<long long>(std::nearbyint(v)), 2); };
  return LastDigits(c.year, 4) + "-" + LastDigits(c.month, 2) + "-" + LastDigits(c.day, 2) + "  " + two(c.hour) + ":" +
         two(c.minute) + ":" + two(c.second);
}

std::string Format_General(double value) {
  if (value == 0.0 || !std::isfinite(value)) return value == 0.0 ? "0" : std::string();
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  const std::string sci(buf, r.ptr);  // "-d.dddddddddddddde+XX"
  const auto epos = sci.find('e');
  const bool negative = sci[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < epos; ++i)
    if (sci[i] != '.') digits += sci[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exp = std::atoi(sci.c_str() + epos + 1);

  std::string out = negative ? "-" : "";
  if (exp < -5 || exp >= 15) {
    out += digits[0];
    if (digits.size() > 1) out.append(".").append(digits, 1);
    out.append("E").append(exp < 0 ? "-" : "").append(std::to_string(std::abs(exp)));
  } else if (exp >= 0) {
    const auto whole = static_cast<std::size_t>(exp) + 1;
    if (digits.size() <= whole) {
      out.append(digits).append(whole - digits.size(), '0');
    } else {
      out.append(digits, 0, whole).append(".").append(digits, whole);
    }
  } else {
    out.append("0.").append(static_cast<std::size_t>(-exp - 1), '0').append(digits);
  }
  return out;
}

std::string Event_Text(const tEventData& e) {
  std::string t(ChartText(e.event, UiLanguage()));
  // An eclipse's magnitude within its name: "Sonnenfinsternis (partiell, 29 %)".
  if (CategoryOf(e.body, e.event) == EventCategory::Eclipse && e.magnitude != static_cast<float>(kMissing) &&
      !t.empty() && t.back() == ')') {
    t.insert(t.size() - 1, ", " + (e.body == BodyNames[Sun] ? FormatFixed(e.magnitude * 100.0, 0) + " %"
                                                              : FormatFixed(e.magnitude, 2)));
    if (e.note != "\t") {
      const std::string_view note = e.note.substr(0, e.note.find('\t'));
      t.append(" (").append(NoteText(note, UiLanguage())).append(")");
    }
    return t;
  }
  if (e.au != kMissing) t.append(" ").append(Format_General(e.au)).append(" AU");
  if (e.km != kMissing) t.append(" ").append(Format_General(e.km)).append(" km");
  if (e.earth_radii != kMissing) t.append(" ").append(Format_General(e.earth_radii)).append(" ERad");
  if (!e.angle.empty()) t.append(" ").append(e.angle).append("°");
  if (e.diameter != static_cast<float>(kMissing)) t.append(" ").append(FormatFixed(e.diameter, 1)).append("\"");
  if (e.magnitude != static_cast<float>(kMissing)) t.append(" ").append(FormatFixed(e.magnitude, 2)).append(" mag");
  if (e.note != "\t") t.append(" (").append(e.note).append(")");
  return t;
}

std::vector<tListedEvent> List_Day_Events(const EventStore& store, double Sel_JD, bool show_daemmerungen,
                                          bool show_auf_untergaenge, bool show_meridian, bool show_fotolicht) {
  std::vector<tListedEvent> listed;
  const auto first = Find_Event(store, 1, Sel_JD, {}, {});
  if (!first) return listed;
  const int last = std::min(store.Event_Count, static_cast<int>(store.Event_Tab.size()) - 1);
  int Label_Last_Y = 0;
  for (int n = *first; n <= last; ++n) {
    const tEventData& e = store.Event_Tab[static_cast<std::size_t>(n)];
    if (n != *first && !(Sel_JD + 1.0 > e.jd_local)) break;
    if (Skipped(e, show_daemmerungen, show_auf_untergaenge, show_meridian, show_fotolicht)) continue;

    const CalendarTime c = JDToCalendar(e.jd_local);
    const double m = c.hour * 60.0 + c.minute + c.second / 60.0;
    int y = Chart_Y(Mod_Positive(m, 1440.0));
    tListedEvent item;
    item.index = n;
    item.marker_y = y;
    if (Label_Last_Y - 100 > y) Label_Last_Y = 0;
    if (Label_Last_Y + 32 > y) y = Label_Last_Y + 32;
    Label_Last_Y = y;
    item.label_y = y;
    // Rounding to the second must not carry an event of the day's last
    // half-second into the next day: it is shown at 23:59:59.
    const double day_start = std::floor(e.jd_local + 0.5) - 0.5;
    const double shown = std::min(Round_To_Second(e.jd_local), day_start + 86399.0 / 86400.0);
    const CalendarTime r = JDToCalendar(shown);
    item.time = Trim(FormatSexagesimal(r.hour + r.minute / 60.0 + r.second / 3600.0, 0));
    item.body = BodyText(e.body, UiLanguage());
    item.text = Event_Text(e);
    listed.push_back(std::move(item));
  }
  return listed;
}

void Draw_Day_Events(QPainter& p, const std::vector<tListedEvent>& listed, bool leaders,
                     const tChartPalette& colours) {
  if (leaders) Draw_Leader_Lines(p, listed, colours);
  const int shift = leaders ? kLeaderTextX - 1015 : 0;
  const QFont font = List_Font();
  const QColor& white = colours.ink;
  const QColor& lime = colours.marker;
  for (const tListedEvent& item : listed) {
    p.setFont(font);
    const int ascent = p.fontMetrics().ascent();
    p.setPen(lime);
    if (item.marked) p.drawText(995, item.marker_y - 26 + ascent, QStringLiteral("-"));
    p.setPen(white);
    p.drawText(1015 + shift, item.label_y - 24 + ascent, QString::fromStdString(item.time));
    p.drawText(1150 + shift, item.label_y - 24 + ascent, QString::fromStdString(item.body));
    // The TAB that closes a stored note is left out of the drawing: as a tab
    // stop it would open a wide gap before the closing parenthesis.
    QString text = QString::fromStdString(item.text);
    text.remove(QLatin1Char('\t'));
    p.drawText(1265 + shift, item.label_y - 24 + ascent, text);
  }
}

}  // namespace vk
