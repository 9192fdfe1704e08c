// One line of the event log: eleven fields, each followed by a TAB, then CR LF.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/large_array.h"
#include "ephemeris/ephemeris_data.h"

namespace vk {

inline constexpr double kMissing = -9999.0;  // a numeric field left empty, as read back

// The optional fields 5 to 11 of an event line; unset fields stay empty.
struct EventFields {
  std::optional<double> au;           // 5: fixed, 4 decimals
  std::optional<double> km;           // 6: fixed, 0 decimals
  std::optional<double> earth_radii;  // 7: fixed, 2 decimals
  std::string angle;                  // 8: text as given
  std::optional<double> diameter;     // 9: arcseconds, 1 decimal
  std::optional<double> magnitude;    // 10: 2 decimals
  const tShortString3* label = nullptr;  // 11: the characters counted by its length
  std::string_view note;              // 11 when there is no label: text as given
};

// The values a number of fields 5, 6, 7, 9 and 10 may take in a log that reads.
struct FieldRange {
  double lo, hi;
};
inline constexpr FieldRange kAuRange{0, 100}, kKmRange{0, 1.5e10}, kEarthRadiiRange{0, 1e4},
    kDiameterRange{0, 10000}, kMagnitudeRange{-30, 40};

// What reading a line back from the log gives, known while it is written:
// its Julian Dates and numbers as their text reads and where its text fields
// lie (offsets within the line). `end` is the line's length without CR LF;
// end == 0: the line is not known to read back (a date outside the accepted
// range or in an unusual form, a number outside its range or not finite, a
// TAB or line end inside a text) and has to be read from its text.
struct LineRecord {
  double jd_ut = 0, jd_local = 0;
  double au = kMissing, km = kMissing, earth_radii = kMissing;  // fields 5 to 7, kMissing when empty
  float diameter = static_cast<float>(kMissing), magnitude = static_cast<float>(kMissing);  // fields 9, 10
  std::uint32_t start = 0;  // offset of the line in the text it was appended to
  std::uint8_t event_at = 0, numbers_at = 0, angle_at = 0, angle_end = 0, note_at = 0, end = 0;
};

// The records of one piece; a computation takes the room of all pieces'
// records from one arena.
using LineRecords = std::vector<LineRecord, ArenaAllocator<LineRecord>>;

// The text of an event log, or a piece of it. A computation takes the room
// of all its pieces from one arena, in 2 MiB pages; other text is on the heap.
using LogText = ArenaString;

// The lines of an event log as written, one piece per body in body order,
// and per piece one LineRecord per line. Kept between computations, so that
// their room is taken once.
struct EventLines {
  std::vector<LogText> pieces;
  std::vector<LineRecords> records;
};

// Offset of field 3 (the body) in every line whose record reads back.
inline constexpr int kLineBodyAt = 48;

// Appends one event line to `out` (std::string or LogText). jd_ut, jd_local:
// Julian days (UT, local civil time). `record`, when given, receives what
// reading the line back gives.
template <class Text>
void AppendEventLine(Text& out, double jd_ut, double jd_local, std::string_view body, std::string_view event,
                     const EventFields& fields, LineRecord* record = nullptr);
extern template void AppendEventLine(std::string&, double, double, std::string_view, std::string_view,
                                     const EventFields&, LineRecord*);
extern template void AppendEventLine(LogText&, double, double, std::string_view, std::string_view,
                                     const EventFields&, LineRecord*);

// Declination text of a solstice line: "+23:26:14" / "-23:26:14" (degrees, whole seconds).
std::string DeclinationText(double dec_deg);

}  // namespace vk
