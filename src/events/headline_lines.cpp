#include "headline_lines.h"

#include "base/number_text.h"
#include "events/event_kinds.h"

namespace vk {
namespace {

using K = EventKind;

// The note of an eclipse of which the site sees a part: the body (0 the
// Sun, 1 the Moon) rises or sets during it; none when it sees the whole.
std::string_view Note(int which, Visibility v) {
  switch (v) {
    case Visibility::Whole: return {};
    case Visibility::RisesDuring: return EclipseNotes[which][0].german;
    case Visibility::SetsDuring: return EclipseNotes[which][1].german;
    case Visibility::RisesAndSets: return EclipseNotes[which][2].german;
  }
  return {};
}

}  // namespace

std::vector<double> SyzygyInstants(const EphemerisStore& eph, const BasicTable& basic) {
  std::vector<double> out;
  const FixedEvents* fixed = basic.fixed_events(Moon);
  if (!fixed) return out;
  for (const FixedEvent& f : *fixed)
    if (f.event == EventName(K::Neumond) || f.event == EventName(K::Vollmond))
      out.push_back(eph.at(Moon, f.row - 1).jd + f.offset / 24);
  return out;
}

void AppendHeadlineLines(LogText& out, LineRecords* records, const GlobalHeadlines& global,
                         const SiteHeadlines& seen, const Site& site) {
  auto write = [&](double jd, int body, EventKind kind, const EventFields& f) {
    AppendEventLine(out, jd, LocalJD(jd, site), BodyNames[body], EventName(kind), f,
                    records ? &records->emplace_back() : nullptr);
  };
  for (const SiteLunarEclipse& s : seen.lunar) {
    const LunarEclipse& e = s.eclipse;
    EventFields f;
    f.magnitude = e.type == LunarEclipseType::Penumbral ? e.penumbral_magnitude : e.umbral_magnitude;
    f.note = Note(1, s.visibility);
    const K kind = e.type == LunarEclipseType::Total     ? K::MondfinsternisTotal
                   : e.type == LunarEclipseType::Partial ? K::MondfinsternisPartiell
                                                         : K::MondfinsternisHalbschatten;
    write(e.greatest, Moon, kind, f);
  }
  for (const SolarEclipse& e : seen.solar) {
    EventFields f;
    f.magnitude = e.magnitude;
    f.note = Note(0, e.visibility);
    const K kind = e.type == SolarEclipseType::Total     ? K::SonnenfinsternisTotal
                   : e.type == SolarEclipseType::Annular ? K::SonnenfinsternisRingfoermig
                                                         : K::SonnenfinsternisPartiell;
    write(e.maximum, Sun, kind, f);
  }
  for (const Occultation& o : seen.occultations) write(o.disappearance, o.planet, K::VomMondBedeckt, {});
  for (const CloseApproach& a : global.approaches) {
    EventFields f;
    f.angle = FormatFixed(a.separation, 2);
    write(a.instant, a.body, ApproachKind(a.other), f);
  }
}

}  // namespace vk
