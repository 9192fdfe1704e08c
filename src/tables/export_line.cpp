#include "export_line.h"

#include "base/number_text.h"

#include <cmath>

namespace vk::ephemgen {
namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string FormatRightAscension(double hours) {
  constexpr long long kDay = 24LL * 3600 * 1000000;  // microseconds of time
  long long us = std::llround(hours * 3600e6) % kDay;
  if (us < 0) us += kDay;
  std::string s = " ";
  AppendZeroPadded(s, us / 3600000000LL, 2);
  s += ' ';
  AppendZeroPadded(s, us / 60000000LL % 60, 2);
  s += ' ';
  AppendZeroPadded(s, us / 1000000 % 60, 2);
  s += '.';
  AppendZeroPadded(s, us % 1000000, 6);
  return s;
}

std::string FormatDeclination(double deg) {
  const long long units = std::llround(std::fabs(deg) * 3600e5);  // 10 µas
  std::string s = " ";
  s += deg < 0 && units > 0 ? '-' : '+';
  AppendZeroPadded(s, units / 360000000LL, 2);
  s += ' ';
  AppendZeroPadded(s, units / 6000000 % 60, 2);
  s += ' ';
  AppendZeroPadded(s, units / 100000 % 60, 2);
  s += '.';
  AppendZeroPadded(s, units % 100000, 5);
  return s;
}

void AppendExportLine(std::string& out, const tRowTime& t, int body, const tApparentPlace& a) {
  // 1: calendar date and time
  AppendZeroPadded(out, t.year, 4);
  out += '-';
  out += kMonths[(t.month - 1) % 12];
  out += '-';
  AppendZeroPadded(out, t.day, 2);
  out += ' ';
  AppendZeroPadded(out, t.hour, 2);
  out += ":00\t ";
  AppendFixed(out, t.jd, 9);       // 2
  out += "\t \t \t";               // 3, 4: markers
  out += FormatRightAscension(a.ra_hours);  // 5
  out += '\t';
  out += FormatDeclination(a.dec_deg);      // 6
  out += '\t';
  AppendFixed(out, a.magnitude, 12);         // 7
  out += '\t';
  AppendFixed(out, a.illuminated_pct, 9);   // 8
  out += '\t';
  AppendFixed(out, a.phase_angle_deg, 9);   // 9
  out += '\t';
  AppendFixed(out, a.diameter_arcsec, 9);   // 10
  out += '\t';
  AppendFixed(out, a.helio_au, 15);         // 11
  out += '\t';
  AppendFixed(out, a.helio_rate_km_s, 9);   // 12
  out += '\t';
  out += body == 0 ? "/*" : a.east_of_sun ? "/T" : "/L";  // 13
  out += '\t';
  AppendFixed(out, a.light_time_min, 9);    // 14
  out += '\t';
  AppendFixed(out, a.elongation_deg, 9);    // 15
  out += '\t';
  AppendFixed(out, a.delta_au, 16);         // 16
  out += '\t';
  AppendFixed(out, a.range_rate_km_s, 9);   // 17
  out += "\t   ";                           // 18: the label from its 4th character
  out.append(a.constellation, 3);
  out += '\t';
  // 19: kept inside [0, 360) after rounding to the written decimals
  double lon = std::round(a.ecl_lon_deg * 1e12) / 1e12;
  if (lon >= 360) lon -= 360;
  AppendFixed(out, lon, 12);
  out += '\t';
  AppendFixed(out, a.ecl_lat_deg, 12);       // 20
  out += "\r\n";
}

}  // namespace vk::ephemgen
