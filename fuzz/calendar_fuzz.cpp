// The calendar writer on any event log that reads: the file it writes has
// lines of at most 75 octets ending in CR LF, no control characters but TAB, no
// UTF-8 character split by the folding, one VEVENT per event counted, each
// with UID, DTSTAMP and DTSTART, and BEGIN and END in pairs.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/error.h"
#include "events/event_table.h"
#include "export/icalendar.h"
#include "fuzz_file.h"
#include "timecalc/input_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vk::EventStore store;
  try {
    vk::ReadEventLog(store, vk::fuzz::InputFile(data, size));
    vk::SortEventTable(store);
  } catch (const vk::Error&) {
    return 0;
  }
  vk::tCalendarRequest request;
  request.from_jd = vk::kAcceptedFirstJD;
  request.to_jd = vk::kAcceptedLastJD;
  request.stamp_unix = 1700000000;
  int count = -1;
  const std::string text = vk::Calendar_Text(store, request, &count);
  if (count < 0 || count > store.Event_Count) std::abort();
  // The lines as written, and unfolded.
  std::string unfolded;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) std::abort();  // every line ends in CR LF
    const std::string_view line(text.data() + at, end - at);
    at = end + 2;
    if (line.size() > 75) std::abort();
    for (const char c : line)
      if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) std::abort();
    if (!line.empty() && line.front() == ' ') {
      if (line.size() > 1 && (static_cast<unsigned char>(line[1]) & 0xC0) == 0x80) std::abort();  // a split character
      unfolded += line.substr(1);
    } else {
      if (!unfolded.empty()) unfolded += '\n';
      unfolded += line;
    }
  }
  int events = 0, depth = 0, uid = 0, stamp = 0, start = 0;
  for (std::size_t at = 0; at <= unfolded.size();) {
    std::size_t end = unfolded.find('\n', at);
    if (end == std::string::npos) end = unfolded.size();
    const std::string_view logical(unfolded.data() + at, end - at);
    at = end + 1;
    if (logical == "BEGIN:VEVENT") ++events, ++depth, uid = stamp = start = 0;
    if (logical == "BEGIN:VCALENDAR") ++depth;
    if (logical.rfind("UID:", 0) == 0) ++uid;
    if (logical.rfind("DTSTAMP:", 0) == 0) ++stamp;
    if (logical.rfind("DTSTART:", 0) == 0) ++start;
    if (logical == "END:VEVENT" && (uid != 1 || stamp != 1 || start != 1)) std::abort();
    if (logical.rfind("END:", 0) == 0 && --depth < 0) std::abort();
  }
  if (depth != 0 || events != count) std::abort();
  return 0;
}
