// One hourly row of a text export in the HORIZONS layout that the import reads.
#pragma once
#include <string>

#include "apparent_place.h"

namespace vk::ephemgen {

// The instant of a row: the calendar date, the whole hour (UTC) and the JD.
struct tRowTime {
  int year = 0, month = 0, day = 0, hour = 0;
  double jd = 0;  // Julian date, UT
};

// Right ascension as " HH MM SS.ssssss" (16 characters), rounded to 1 µs of
// time; a value that rounds to 24 h is written as 00 00 00.000000.
// hours: any finite value, taken modulo 24. Never fails.
std::string FormatRightAscension(double hours);

// Declination as " ±DD MM SS.sssss" (16 characters), rounded to 10 µas; "+"
// for a value that rounds to zero. deg: −90 … 90. Never fails.
std::string FormatDeclination(double deg);

// Appends the export line of body 0 … 8 at `time` to `out`: twenty columns
// separated by single tabs, ended with CR LF:
//   1 "2022-Jan-01 00:00", 2 JD (UT, 9 decimals), 3 and 4 a blank each,
//   5 RA and 6 Dec (apparent, of date), 7 visual magnitude, 8 illuminated
//   fraction (%), 9 phase angle (°), 10 angular diameter ("), 11 heliocentric
//   distance r (au), 12 its rate (km/s), 13 "/T" (east of the Sun, evening
//   sky), "/L" (west, morning sky) or "/*" (the Sun), 14 one-way light time
//   (minutes), 15 solar elongation (°), 16 Δ (au), 17 its rate (km/s),
//   18 three blanks and the constellation abbreviation, 19 ecliptic longitude
//   of date (°, [0, 360)), 20 ecliptic latitude of date (°).
// Numbers are written with "." whatever the locale. Never fails.
void AppendExportLine(std::string& out, const tRowTime& time, int body, const tApparentPlace& a);

}  // namespace vk::ephemgen
