// Calendar dates, Julian days, the summer-time rule and sexagesimal text.
#pragma once
#include <string>

namespace vk {

// A calendar date with the time of day. hour and minute hold whole numbers,
// second carries milliseconds.
struct CalendarTime {
  int year = 0;
  int month = 0;
  int day = 0;
  double hour = 0.0;
  double minute = 0.0;
  double second = 0.0;
};

// Julian day of a calendar date and time (Gregorian from 1582-10-15, Julian
// before). Months and days outside their usual range carry over: month 13 is
// January of the next year, day 0 the last day of the previous month.
// Returns: the Julian day (days; .0 is noon). Never fails.
double CalendarToJD(int year, int month, int day, double hour, double minute, double second);

// The Julian days JDToCalendar converts: about years -2,000,000 … +2,000,000.
inline constexpr double kMinCalendarJD = -730000000.0;
inline constexpr double kMaxCalendarJD = 730000000.0;

// Calendar date and time of a Julian day, the time rounded to milliseconds.
// Returns: the fields; hour is 0 … 23.
// Throws: Error naming the value and the allowed range for a jd outside
// kMinCalendarJD … kMaxCalendarJD or not finite.
CalendarTime JDToCalendar(double jd);

// Summer time from the last Sunday of March 01:00 UT (exclusive) to the last
// Sunday of October 01:00 UT (inclusive), the same rule for every zone.
// jd: the instant, Julian day UT. Returns: true while summer time is in force.
// Throws: as JDToCalendar for a jd it cannot convert.
bool IsSummerTime(double jd);
// The same rule computed from the calendar each time (IsSummerTime looks it up).
bool IsSummerTimeByRule(double jd);

// The day of the last Sunday of March and of October of a year (1 … 31).
int LastSundayOfMarch(int year);
int LastSundayOfOctober(int year);

// Fixed-width sexagesimal text of hours or degrees: two leading characters
// (blanks, or a blank and the sign), hours, minutes and seconds with
// `decimals` (0 … 4) decimals, e.g. "  23:26:14" or " -07:30:00.0".
// Returns: 10 characters for 0 decimals, 11 + decimals otherwise (more for
// three-digit hours). decimals outside 0 … 4 is clamped into that range.
std::string FormatSexagesimal(double value, int decimals);

}  // namespace vk
