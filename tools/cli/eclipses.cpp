// The "eclipses" command: the eclipses, occultations and close approaches a
// site sees over a span of days, one line per event and contact.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "commands.h"
#include "data_folder.h"
#include "dates.h"
#include "events/event_kinds.h"
#include "events/recompute.h"
#include "base/number_text.h"
#include "options.h"
#include "periods.h"
#include "timecalc/calendar.h"
#include "timecalc/input_checks.h"

namespace vk::tool {
namespace {

// "YYYY-MM-DD HH:MM:SS" of a Julian day, to the nearest second.
std::string DateTime(double jd) {
  const CalendarTime c = JDToCalendar(std::floor(jd * 86400 + 0.5) / 86400 + 1e-9);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day,
                static_cast<int>(c.hour), static_cast<int>(c.minute), static_cast<int>(c.second));
  return text;
}

class Printer {
 public:
  Printer(const Site& site, double from, double to) : site_(site), from_(from), to_(to) {}
  // Whether the local day of `jd` lies within the span.
  bool Within(double jd) const {
    const double local = LocalJD(jd, site_);
    return local >= from_ && local < to_ + 1;
  }
  void Title(double jd, std::string_view body, std::string_view event, const std::string& values,
             std::string_view note = {}) const {
    std::cout << "\n" << DateTime(LocalJD(jd, site_)).substr(0, 10) << "  " << BodyText(body, ToolLanguage()) << " "
              << ChartText(event, ToolLanguage()) << values;
    if (!note.empty()) std::cout << " (" << NoteText(note, ToolLanguage()) << ")";
    std::cout << "\n";
  }
  // One contact: local time, UT, the body's altitude and the magnitude.
  void Contact(std::string_view name, double jd, double altitude, double magnitude = std::nan("")) const {
    if (std::isnan(jd)) return;
    std::cout << "  " << name << std::string(10 - std::min<std::size_t>(name.size(), 9), ' ') << DateTime(LocalJD(jd, site_))
              << "  " << DateTime(jd).substr(11) << " UT";
    if (!std::isnan(altitude)) std::cout << "  alt " << FormatFixed(altitude, 1) << "°";
    if (!std::isnan(magnitude)) std::cout << "  mag " << FormatFixed(magnitude, 3);
    std::cout << "\n";
  }

 private:
  const Site& site_;
  double from_, to_;
};

std::string_view Note(int which, Visibility v) {
  return v == Visibility::Whole ? std::string_view{} : EclipseNotes[which][static_cast<int>(v) - 1].german;
}

}  // namespace

// The eclipses, occultations and close approaches of the local days from … to
// of the almanac's period.
void PrintPeriod(const Almanac& almanac, double from, double to);

int EclipsesCommand(const Args& args) {
  Options opts(args);
  const auto from_text = opts.take("--from");
  const auto to_text = opts.take("--to");
  if (!from_text) throw UsageError{"--from is required"};
  if (!to_text) throw UsageError{"--to is required"};
  const double from = ParseDate(*from_text, "--from");
  const double to = ParseDate(*to_text, "--to");
  if (from > to) throw UsageError{"--from " + *from_text + " lies after --to " + *to_text};
  const Site site = SiteOptions(opts);
  const DataFolder data = TakeDataFolder(opts);
  const tDataSpan span = DataSpan(data);
  CheckInSpan(from, *from_text, "--from", span);
  CheckInSpan(to, *to_text, "--to", span);
  opts.finish();

  static Almanac almanac;  // large: not on the stack
  almanac.site = site;
  // The days of each period from that period's search, one period at a time.
  for (double day = from; day <= to;) {
    const PeriodTables tables = TablesForDay(data, span, day);
    UsePeriodTables(almanac, data, tables);
    RunRecomputationChain(almanac, tables.dir, PrintProgress, tables.log_dir);
    const double last = std::min(to, tables.period.end_jd() - 1);
    PrintPeriod(almanac, day, last);
    day = last + 1;
  }
  return 0;
}

void PrintPeriod(const Almanac& almanac, double from, double to) {
  const Printer print(almanac.site, from, to);
  const SiteHeadlines& h = almanac.events.headlines;
  static constexpr const char* kLunar[] = {"P1", "U1", "U2", "U3", "U4", "P4"};
  static constexpr const char* kSolar[] = {"C1", "C2", "C3", "C4"};
  for (const SiteLunarEclipse& s : h.lunar) {
    const LunarEclipse& e = s.eclipse;
    if (!print.Within(e.greatest)) continue;
    const EventKind kind = e.type == LunarEclipseType::Total     ? EventKind::MondfinsternisTotal
                           : e.type == LunarEclipseType::Partial ? EventKind::MondfinsternisPartiell
                                                                 : EventKind::MondfinsternisHalbschatten;
    print.Title(e.greatest, BodyNames[Moon], EventName(kind),
                ", umbral " + FormatFixed(e.umbral_magnitude, 3) + ", penumbral " +
                    FormatFixed(e.penumbral_magnitude, 3),
                Note(1, s.visibility));
    for (int c = P1; c <= U2; ++c) print.Contact(kLunar[c], e.contact[c], s.altitude[c]);
    print.Contact("greatest", e.greatest, s.greatest_altitude,
                  e.type == LunarEclipseType::Penumbral ? e.penumbral_magnitude : e.umbral_magnitude);
    for (int c = U3; c <= P4; ++c) print.Contact(kLunar[c], e.contact[c], s.altitude[c]);
  }
  for (const SolarEclipse& e : h.solar) {
    if (!print.Within(e.maximum)) continue;
    const EventKind kind = e.type == SolarEclipseType::Total     ? EventKind::SonnenfinsternisTotal
                           : e.type == SolarEclipseType::Annular ? EventKind::SonnenfinsternisRingfoermig
                                                                 : EventKind::SonnenfinsternisPartiell;
    print.Title(e.maximum, BodyNames[Sun], EventName(kind),
                ", " + FormatFixed(e.magnitude * 100, 0) + " %, obscuration " + FormatFixed(e.obscuration, 3),
                Note(0, e.visibility));
    for (int c = C1; c <= C2; ++c) print.Contact(kSolar[c], e.contact[c], e.altitude[c]);
    print.Contact("maximum", e.maximum, e.maximum_altitude, e.magnitude);
    for (int c = C3; c <= C4; ++c) print.Contact(kSolar[c], e.contact[c], e.altitude[c]);
  }
  for (const Occultation& o : h.occultations) {
    if (!print.Within(o.disappearance)) continue;
    print.Title(o.disappearance, BodyNames[o.planet], EventName(EventKind::VomMondBedeckt), "");
    print.Contact("disappears", o.disappearance, o.altitude_disappearance);
    print.Contact("reappears", o.reappearance, o.altitude_reappearance);
  }
  std::cout << "\n";
  for (const CloseApproach& a : almanac.global_headlines ? almanac.global_headlines->approaches
                                                         : std::vector<CloseApproach>{}) {
    if (!print.Within(a.instant)) continue;
    std::cout << DateTime(LocalJD(a.instant, almanac.site)) << "  " << DateTime(a.instant).substr(11) << " UT  "
              << BodyText(BodyNames[a.body], ToolLanguage()) << " "
              << ChartText(EventName(ApproachKind(a.other)), ToolLanguage()) << "  "
              << FormatFixed(a.separation, 2) << "°\n";
  }
}

}  // namespace vk::tool
