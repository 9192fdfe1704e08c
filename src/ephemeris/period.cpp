#include "ephemeris/period.h"

#include <cmath>

#include "ephemeris/ephemeris_data.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

constexpr double kMjdToJd = 2400000.5;
constexpr double kLightTimeDays = 0.25;      // the farthest body's light time, with room
constexpr double kRowsAfterDays = 3.0 / 24;  // the two hours after the last day, and TT − UTC

double NewYearJd(int year) { return CalendarToJD(year, 1, 1, 0, 0, 0); }

int YearOfDay(double day_jd) { return JDToCalendar(day_jd + 0.5 / 24).year; }

}  // namespace

double tPeriod::first_jd() const { return NewYearJd(first_year); }
double tPeriod::end_jd() const { return NewYearJd(end_year); }
std::string tPeriod::tag() const { return std::to_string(first_year) + "-" + std::to_string(end_year); }

double tDataSpan::first_jd() const { return NewYearJd(first_year); }
double tDataSpan::last_jd() const { return NewYearJd(end_year) - 1; }
std::string tDataSpan::text() const {
  return std::to_string(first_year) + "-01-01 … " + std::to_string(end_year - 1) + "-12-31";
}

tDataSpan SpanOfRecords(double first_mjd, double last_mjd) {
  tDataSpan span;
  span.first_year = YearOfDay(first_mjd + kMjdToJd + kLightTimeDays - 0.5 / 24);
  if (NewYearJd(span.first_year) - kLightTimeDays < first_mjd + kMjdToJd) ++span.first_year;
  span.end_year = YearOfDay(last_mjd + kMjdToJd - kRowsAfterDays);
  if (NewYearJd(span.end_year) + kRowsAfterDays > last_mjd + kMjdToJd) --span.end_year;
  return span;
}

tPeriod PeriodOfDay(double day_jd, const tDataSpan& span) {
  const int year = YearOfDay(day_jd);
  const int offset = year - kDocumentedPeriod.first_year;
  const int first = kDocumentedPeriod.first_year +
                    kPeriodYears * (offset >= 0 ? offset / kPeriodYears : -((kPeriodYears - 1 - offset) / kPeriodYears));
  tPeriod p{first, first + kPeriodYears};
  if (p.first_year < span.first_year) p.first_year = span.first_year;
  if (p.end_year > span.end_year) p.end_year = span.end_year;
  return p;
}

std::string BinaryFileName(int body, const tPeriod& period) {
  return "HORIZONS_daten_" + period.tag() + "_" + std::string(BodyCodes.at(body)) + ".bin";
}
std::string ExportFileName(int body, const tPeriod& period) {
  return "_res/HORIZONS_daten_" + period.tag() + "_" + std::string(BodyCodes.at(body)) + ".txt";
}
std::string PhaseFileName(const tPeriod& period) { return "Vesperkalend_" + period.tag() + "_MOOMERVEN_Phase.txt"; }
std::string EventLogName(const tPeriod& period) { return "Vesperkalend_" + period.tag() + "_Log.txt"; }

}  // namespace vk
