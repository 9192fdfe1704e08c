// One export line: converted or refused with an Error, nothing else.
#include <cstdint>
#include <string_view>

#include "ephemeris/horizons_import.h"
#include "timecalc/calendar.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::tEphemerisData rec{};
  try {
    vk::ConvertExportLine(std::string_view(reinterpret_cast<const char*>(data), size), rec);
    // What passed the checks must be usable by the calendar.
    (void)vk::JDToCalendar(rec.jd);
  } catch (const vk::Error&) {
  }
  return 0;
}
