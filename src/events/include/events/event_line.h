// One line of the event log: eleven fields, each followed by a TAB, then CR LF.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "ephemeris/ephemeris_data.h"

namespace vk {

// The optional fields 5 to 11 of an event line; unset fields stay empty.
struct EventFields {
  std::optional<double> au;           // 5: fixed, 4 decimals
  std::optional<double> km;           // 6: fixed, 0 decimals
  std::optional<double> earth_radii;  // 7: fixed, 2 decimals
  std::string angle;                  // 8: text as given
  std::optional<double> diameter;     // 9: arcseconds, 1 decimal
  std::optional<double> magnitude;    // 10: 2 decimals
  const tShortString3* label = nullptr;  // 11: the characters counted by its length
};

// Appends one event line. jd_ut, jd_local: Julian days (UT, local civil time).
void AppendEventLine(std::string& out, double jd_ut, double jd_local, std::string_view body, std::string_view event,
                     const EventFields& fields);

// Declination text of a solstice line: "+23:26:14" / "-23:26:14" (degrees, whole seconds).
std::string DeclinationText(double dec_deg);

}  // namespace vk
