// The event table: the event log read back and sorted by local time.
#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/large_array.h"
#include "events/eclipses.h"
#include "events/event_line.h"
#include "events/moon_light.h"

namespace vk {

inline constexpr int kEventCapacity = 500000;
// The most bytes read of an event log: a full table of lines of 256 bytes (a
// line holds about 120).
inline constexpr std::uint64_t kEventLogLimit = std::uint64_t{kEventCapacity} * 256;

// The texts are views of the text of the store that holds the entry (EventStore::text).
struct tEventData {
  std::string_view line;   // the whole line as read
  double jd_ut = 0;        // field 1
  double jd_local = 0;     // field 2: every day lookup uses this one
  std::string_view body;   // field 3
  std::string_view event;  // field 4
  double au = kMissing;    // field 5
  double km = kMissing;    // field 6
  double earth_radii = kMissing;  // field 7
  std::string_view angle;  // field 8, or empty
  float diameter = static_cast<float>(kMissing);   // field 9
  float magnitude = static_cast<float>(kMissing);  // field 10
  std::string_view note;   // the rest after field 10: label and its TAB, or a lone TAB
};

// What sorting the table moves: a line's local Julian Date and its entry in file order.
struct EventSortKey {
  double jd_local;
  int entry;
};

using EventSortKeys = std::vector<EventSortKey, LargeAllocator<EventSortKey>>;

// Entries 1 … Event_Count of Event_Tab are filled (entry 0 is unused).
struct EventStore {
  EventStore();
  // The entries' texts are views of `text`: a copy would share it; a move
  // leaves every string where it is.
  EventStore(const EventStore&) = delete;
  EventStore& operator=(const EventStore&) = delete;
  EventStore(EventStore&&) = default;
  EventStore& operator=(EventStore&&) = default;
  std::vector<tEventData, LargeAllocator<tEventData>> Event_Tab;
  int Event_Count = 0;
  // The log's text as it was read, in pieces one after another; replaced by
  // each reading, never changed in between.
  std::vector<LogText> text;
  // The sort's keys and its scratch room, kept from one reading to the next:
  // taken anew each time, their fresh pages cost more than the merging (and
  // in 2 MiB pages: about 2 MB each).
  EventSortKeys sort_keys, sort_scratch;
  // The eclipses and occultations the table's site sees, whose lines it
  // holds (put in force with the table by TakeSiteEvents; empty for a table
  // read from a log alone).
  SiteHeadlines headlines;
  // The Moon's light at the site's local noon of each day of the period
  // (put in force with the table by TakeSiteEvents; empty for a table read
  // from a log alone).
  tMoonDays moon_days;
};

// Reads `path` (the event log) into entries 1 … n, one per line (CR LF or LF).
// Throws: Error "File not found"; "Line has N TAB-ended columns, 11
// expected…" for a line with fewer TABs; "'…' is not a valid floating point
// value" for an empty or non-numeric field 1 or 2 or a non-numeric field 5,
// 6, 7, 9 or 10; "'…' is outside the allowed range lo to hi" (Julian Dates
// within a year of 2022-01-01 … 2032-01-01, au 0 … 100, km 0 … 1.5e10, Earth
// radii 0 … 10000, diameter 0 … 10000″, magnitude -30 … 40); "Line end CR
// without LF…"; "Range check error" at line 500001 (500000 entries stay).
// The error names the file, line and column; the entries read before stay,
// Event_Count counts them.
void ReadEventLog(EventStore& store, const std::filesystem::path& path);

// ReadEventLog on a log whose bytes are `text`, which the store keeps; errors naming `path`.
void ReadEventText(EventStore& store, std::string text, const std::filesystem::path& path);

// Heap sort of entries 1 … Event_Count into ascending jd_local, moving whole
// records; equal keys end in the heap sort's order. Fewer than two entries
// stay as they are. Never fails.
void SortEventTable(EventStore& store);

// ReadEventLog, then SortEventTable, on `path`: the same entries, count and
// order (equal keys included), each line parsed once straight into its sorted
// place. Throws: as ReadEventLog, with the entries as ReadEventLog leaves them.
void ReadSortedEventLog(EventStore& store, const std::filesystem::path& path);

// ReadSortedEventLog on a log whose bytes are `pieces` one after another,
// which the store keeps; errors naming `path`.
void ReadSortedEventText(EventStore& store, std::vector<LogText> pieces, const std::filesystem::path& path);
// The same on pieces on the heap, copied first into room of their own (in 2 MiB pages from 1 MiB on).
void ReadSortedEventText(EventStore& store, std::vector<std::string> pieces, const std::filesystem::path& path);

// ReadSortedEventText on `pieces` written with `records` (one per line,
// AppendEventLine), without reading the text: the entries, count and order
// are those ReadSortedEventText gives. Then `pieces` and the store's text are
// exchanged (no string moves): the store keeps the pieces, and `pieces` holds
// the text of the entries before, whose room can be used again. Returns:
// false, with Event_Count 0, entries overwritten and `pieces` as they were,
// when a record is not known to read back, the records do not match the
// pieces or they are more than kEventCapacity; the text has to be read then.
// Never fails except std::bad_alloc.
bool ReadSortedEventRecords(EventStore& store, std::vector<LogText>& pieces,
                            std::span<const LineRecords> records);

}  // namespace vk
