// The data span and its periods: the hourly tables are made and kept one
// period at a time, each period being whole calendar years.
#pragma once
#include <string>

namespace vk {

// Whole calendar years first_year … end_year − 1: from 00:00 UT of 1 January
// of first_year to 02:00 UT of 1 January of end_year (the last day's local
// evening in zones east of UT needs those two hours).
struct tPeriod {
  int first_year = 2022;
  int end_year = 2032;
  friend bool operator==(const tPeriod&, const tPeriod&) = default;

  double first_jd() const;  // 00:00 UT of its first day
  double end_jd() const;    // 00:00 UT of 1 January of end_year
  // calendar days, 3652 for 2022 … 2031 (Gregorian years; cheap: the event
  // scan asks for rows() in its innermost loop)
  constexpr int days() const { return 365 * (end_year - first_year) + Leaps(end_year - 1) - Leaps(first_year - 1); }
  constexpr int rows() const { return days() * 24 + 3; }  // hourly rows, 87651 for 2022 … 2031
  constexpr int phase_days() const { return days() + 1; }  // lines of the phase table, 3653 for 2022 … 2031
  std::string tag() const;  // "2022-2032", the part of the file names that names the period

 private:
  // Leap years 1 … y of the Gregorian calendar (y >= 0).
  static constexpr int Leaps(int y) { return y / 4 - y / 100 + y / 400; }
};

// The documented decade, whose files keep their names and bytes.
inline constexpr tPeriod kDocumentedPeriod{2022, 2032};
// Periods are decades that start in a year 2022 + 10k, cut at the span's ends.
inline constexpr int kPeriodYears = 10;

// The files of the data folder that periods are made from: JPL DE405's
// coefficients and the constellation boundaries.
inline constexpr const char* kCoefficientFileName = "de405_1960-2060.bin";
inline constexpr const char* kConstellationFileName = "constellation_data_roman87.dat";

// The span of days the shipped data cover: whole calendar years.
struct tDataSpan {
  int first_year = 1960;
  int end_year = 2060;  // exclusive: the last day is 31 December of end_year − 1
  friend bool operator==(const tDataSpan&, const tDataSpan&) = default;

  double first_jd() const;  // 00:00 of its first day
  double last_jd() const;   // 00:00 of its last day
  std::string text() const; // "1960-01-01 … 2059-12-31", for messages
  bool holds(double day_jd) const { return day_jd >= first_jd() && day_jd <= last_jd(); }
};

// The calendar years whose hourly rows a set of coefficient records covers:
// records from TDB MJD first_mjd to last_mjd (the light time of a quarter of a
// day before a row and its two hours after the last day included).
// Returns: a span with first_year >= end_year when no whole year is covered.
tDataSpan SpanOfRecords(double first_mjd, double last_mjd);

// The period holding the day (00:00 UT Julian day `day_jd`) within `span`:
// the decade aligned on kDocumentedPeriod, cut at the span's ends.
// Precondition: span.holds(day_jd).
tPeriod PeriodOfDay(double day_jd, const tDataSpan& span);

// File names of a period: "HORIZONS_daten_<tag>_SUN.bin",
// "_res/HORIZONS_daten_<tag>_SUN.txt", "Vesperkalend_<tag>_MOOMERVEN_Phase.txt",
// "Vesperkalend_<tag>_Log.txt". Throws: std::out_of_range for a body outside 0 … 8.
std::string BinaryFileName(int body, const tPeriod& period);
std::string ExportFileName(int body, const tPeriod& period);
std::string PhaseFileName(const tPeriod& period);
std::string EventLogName(const tPeriod& period);

}  // namespace vk
