#include "events/event_line.h"

#include "timecalc/calendar.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

void AppendOptional(std::string& out, const std::optional<double>& v, int decimals) {
  if (v) out += FormatFixed(*v, decimals);
  out += '\t';
}

}  // namespace

void AppendEventLine(std::string& out, double jd_ut, double jd_local, std::string_view body, std::string_view event,
                     const EventFields& f) {
  out += FormatScientific23(jd_ut);
  out += '\t';
  out += FormatScientific23(jd_local);
  out += '\t';
  out += body;
  out += '\t';
  out += event;
  out += '\t';
  AppendOptional(out, f.au, 4);
  AppendOptional(out, f.km, 0);
  AppendOptional(out, f.earth_radii, 2);
  out += f.angle;
  out += '\t';
  AppendOptional(out, f.diameter, 1);
  AppendOptional(out, f.magnitude, 2);
  if (f.label) out += f.label->view();
  out += "\t\r\n";
}

std::string DeclinationText(double dec_deg) {
  std::string s = FormatSexagesimal(dec_deg, 0);
  const auto first = s.find_first_not_of(' ');
  const auto last = s.find_last_not_of(' ');
  s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
  if (s.empty() || s.front() != '-') s.insert(s.begin(), '+');
  return s;
}

}  // namespace vk
