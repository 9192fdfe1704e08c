#include "events/event_line.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/number_text.h"
#include "timecalc/calendar.h"
#include "timecalc/input_checks.h"

namespace vk {
namespace {

// An optional number and its TAB. Returns: what the field reads as, kMissing
// when it is empty, NaN when it does not read inside `range`.
template <class Text>
double AppendOptional(Text& out, const std::optional<double>& v, int decimals, FieldRange range) {
  double read = kMissing;
  if (v) {
    const std::optional<double> value = AppendFixed(out, *v, decimals);
    read = value && *value >= range.lo && *value <= range.hi ? *value : std::numeric_limits<double>::quiet_NaN();
  }
  out += '\t';
  return read;
}

// Text that reads back as one field: no TAB and no line end inside.
bool OneField(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; });
}

}  // namespace

template <class Text>
void AppendEventLine(Text& out, double jd_ut, double jd_local, std::string_view body, std::string_view event,
                     const EventFields& f, LineRecord* record) {
  const std::size_t start = out.size();
  const std::optional<double> ut = AppendScientific23(out, jd_ut);
  out += '\t';
  const std::optional<double> local = AppendScientific23(out, jd_local);
  out += '\t';
  auto accepted = [](const std::optional<double>& jd) {
    return jd && *jd >= kAcceptedFirstJD && *jd <= kAcceptedLastJD;
  };
  const bool dates = accepted(ut) && accepted(local) && out.size() - start == static_cast<std::size_t>(kLineBodyAt);
  out += body;
  out += '\t';
  const std::size_t event_at = out.size();
  out += event;
  out += '\t';
  const std::size_t numbers_at = out.size();
  const double au = AppendOptional(out, f.au, 4, kAuRange);
  const double km = AppendOptional(out, f.km, 0, kKmRange);
  const double earth_radii = AppendOptional(out, f.earth_radii, 2, kEarthRadiiRange);
  const std::size_t angle_at = out.size();
  out += f.angle;
  const std::size_t angle_end = out.size();
  out += '\t';
  const double diameter = AppendOptional(out, f.diameter, 1, kDiameterRange);
  const double magnitude = AppendOptional(out, f.magnitude, 2, kMagnitudeRange);
  const std::size_t note_at = out.size();
  if (f.label)
    out += f.label->view();
  else
    out += f.note;
  out += "\t\r\n";
  if (!record) return;
  const std::size_t end = out.size() - 2;
  LineRecord r;
  r.start = static_cast<std::uint32_t>(start);
  const bool numbers_read = !std::isnan(au) && !std::isnan(km) && !std::isnan(earth_radii) &&
                            !std::isnan(diameter) && !std::isnan(magnitude);
  if (dates && numbers_read && end - start <= 255 && OneField(body) && OneField(event) && OneField(f.angle) &&
      (!f.label || OneField(f.label->view())) && OneField(f.note)) {
    r.jd_ut = *ut;
    r.jd_local = *local;
    r.event_at = static_cast<std::uint8_t>(event_at - start);
    r.numbers_at = static_cast<std::uint8_t>(numbers_at - start);
    r.angle_at = static_cast<std::uint8_t>(angle_at - start);
    r.angle_end = static_cast<std::uint8_t>(angle_end - start);
    r.note_at = static_cast<std::uint8_t>(note_at - start);
    r.end = static_cast<std::uint8_t>(end - start);
    r.au = au;
    r.km = km;
    r.earth_radii = earth_radii;
    r.diameter = static_cast<float>(diameter);
    r.magnitude = static_cast<float>(magnitude);
  }
  *record = r;
}

template void AppendEventLine(std::string&, double, double, std::string_view, std::string_view, const EventFields&,
                              LineRecord*);
template void AppendEventLine(LogText&, double, double, std::string_view, std::string_view, const EventFields&,
                              LineRecord*);

std::string DeclinationText(double dec_deg) {
  std::string s = FormatSexagesimal(dec_deg, 0);
  const auto first = s.find_first_not_of(' ');
  const auto last = s.find_last_not_of(' ');
  s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
  if (s.empty() || s.front() != '-') s.insert(s.begin(), '+');
  return s;
}

}  // namespace vk
