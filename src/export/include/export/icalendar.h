// Calendar files (iCalendar, RFC 5545) of the computed events: one VEVENT of
// zero duration per event (a date-time DTSTART without DTEND or DURATION),
// times in UTC.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "events/event_table.h"
#include "events/site.h"
#include "export/event_groups.h"

namespace vk {

// Text escaped for a TEXT value: backslash, semicolon and comma get a
// backslash before them, a line feed becomes "\n", other control characters
// than TAB are left out, and a byte that starts no well-formed UTF-8
// character becomes U+FFFD. Never fails.
std::string Ical_Escape(std::string_view text);

// One content line folded at 75 octets: CRLF and a blank start every
// continuation; a UTF-8 character is never split. The result ends in CRLF.
// Never fails.
std::string Ical_Fold(std::string_view line);

// UTC date-time "YYYYMMDDTHHMMSSZ" of a Julian day (UT), rounded to the
// whole second. Never fails for days of years 1 … 9999.
std::string Ical_Utc(double jd_ut);

// Identifier of an event at a site: the same for the same instant (to the
// second), body, event name and site, whatever else the export holds.
std::string Ical_Uid(const tEventData& e, const Site& site);

// What to export: local days [from_jd, to_jd] (Julian days of their 00:00,
// local time of the site), the kinds, and the time stamp (Unix seconds) the
// file is made at.
struct tCalendarRequest {
  double from_jd = 0;
  double to_jd = 0;
  tGroupSet kinds = kDefaultGroups;
  Site site;
  std::int64_t stamp_unix = 0;
};

// The calendar: VCALENDAR with one VEVENT per event of the sorted table
// whose jd_local falls on the days and whose kind is chosen: UID, DTSTAMP,
// DTSTART (UTC), SUMMARY "Mond: Vollmond", DESCRIPTION (the
// chart's event text), GEO and LOCATION of the site. `count` (may be null)
// gets the number of events. Never fails.
std::string Calendar_Text(const EventStore& store, const tCalendarRequest& request, int* count = nullptr);

// The same in pieces, for days whose events lie in several tables (one per
// period): the lines before the events, the VEVENTs of one table (added to
// `count`), and the closing line. Calendar_Text is their concatenation.
std::string Calendar_Head();
std::string Calendar_Events(const EventStore& store, const tCalendarRequest& request, int* count = nullptr);
std::string Calendar_Tail();

// Writes `text` under a temporary name beside `path` and renames it into place.
// Throws: Error naming `path` when it cannot be written; no file is left then.
void Write_Text_File(const std::filesystem::path& path, std::string_view text);

}  // namespace vk
