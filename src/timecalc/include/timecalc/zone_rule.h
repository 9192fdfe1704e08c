// A time-zone rule: the classic fixed offset with the European summer-time
// rule, or a real zone's table of transitions.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace vk {

// From `jd_ut` on, local time is UT + offset_seconds, named `abbreviation`.
struct ZoneTransition {
  double jd_ut = 0;           // Julian day UT of the switch
  int offset_seconds = 0;     // offset from UT, seconds, east positive
  bool summer = false;        // true for summer (daylight-saving) time
  std::string abbreviation;   // "AEDT", "CEST", "-03", ...
};

// A real zone: its name and transitions in ascending order of jd_ut. The
// first entry holds from the beginning of time.
struct ZoneTable {
  std::string name;                         // "Australia/Sydney"
  std::vector<ZoneTransition> transitions;  // never empty
};

// The zone in force for local time. A null table is the classic rule:
// UT + classic_offset_hours, one hour more while IsSummerTime holds.
struct ZoneRule {
  double classic_offset_hours = 1.0;
  std::shared_ptr<const ZoneTable> table;
};

// What the rule gives at one instant.
struct ZoneState {
  double offset_hours = 0;   // total offset from UT, summer time included
  bool summer = false;
  std::string abbreviation;  // empty under the classic rule
};

// Local civil time of an instant. jd_ut: Julian day UT.
// Returns: Julian day, local time. Never fails.
double ZoneLocalJD(const ZoneRule& rule, double jd_ut);

// Local civil time of an instant under a real zone's table. jd_ut: Julian
// day UT. Returns: Julian day, local time. Never fails.
double TableLocalJD(const ZoneTable& table, double jd_ut);

// The state at an instant. jd_ut: Julian day UT. Never fails.
ZoneState ZoneStateAt(const ZoneRule& rule, double jd_ut);

// The state at local noon of the day whose local 00:00 is `local_midnight_jd`.
// Never fails.
ZoneState ZoneStateOnDay(const ZoneRule& rule, double local_midnight_jd);

// "UTC+02:00", "UTC-09:30", "UTC+05:45": an offset in hours. Never fails.
std::string OffsetText(double offset_hours);

// The abbreviation as a German reader knows it: CET/CEST, WET/WEST and
// EET/EEST become MEZ/MESZ, WEZ/WESZ and OEZ/OESZ; others are kept.
std::string GermanAbbreviation(const std::string& abbreviation);

}  // namespace vk
