#include "timecalc/zone_rule.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "timecalc/calendar.h"

namespace vk {
namespace {

const ZoneTransition& InForce(const ZoneTable& table, double jd_ut) {
  const auto& t = table.transitions;
  auto it = std::upper_bound(t.begin(), t.end(), jd_ut,
                             [](double jd, const ZoneTransition& z) { return jd < z.jd_ut; });
  return it == t.begin() ? t.front() : *(it - 1);
}

}  // namespace

double ZoneLocalJD(const ZoneRule& rule, double jd_ut) {
  if (!rule.table) {
    double local = jd_ut + rule.classic_offset_hours / 24;
    if (IsSummerTime(jd_ut)) local += 1.0 / 24;
    return local;
  }
  return TableLocalJD(*rule.table, jd_ut);
}

double TableLocalJD(const ZoneTable& table, double jd_ut) {
  return jd_ut + InForce(table, jd_ut).offset_seconds / 86400.0;
}

ZoneState ZoneStateAt(const ZoneRule& rule, double jd_ut) {
  if (!rule.table) {
    const bool summer = IsSummerTime(jd_ut);
    return {rule.classic_offset_hours + (summer ? 1.0 : 0.0), summer, {}};
  }
  const ZoneTransition& z = InForce(*rule.table, jd_ut);
  return {z.offset_seconds / 3600.0, z.summer, z.abbreviation};
}

ZoneState ZoneStateOnDay(const ZoneRule& rule, double local_midnight_jd) {
  if (!rule.table) return ZoneStateAt(rule, local_midnight_jd);
  const double noon_local = local_midnight_jd + 0.5;
  const double first_guess = noon_local - ZoneStateAt(rule, noon_local).offset_hours / 24;
  return ZoneStateAt(rule, noon_local - ZoneStateAt(rule, first_guess).offset_hours / 24);
}

std::string OffsetText(double offset_hours) {
  const long minutes = std::lround(std::fabs(offset_hours) * 60);
  std::string s = "UTC";
  s += offset_hours < 0 && minutes != 0 ? '-' : '+';
  const long h = minutes / 60, m = minutes % 60;
  s += static_cast<char>('0' + h / 10);
  s += static_cast<char>('0' + h % 10);
  s += ':';
  s += static_cast<char>('0' + m / 10);
  s += static_cast<char>('0' + m % 10);
  return s;
}

std::string GermanAbbreviation(const std::string& abbreviation) {
  static const std::pair<const char*, const char*> kGerman[] = {
      {"CET", "MEZ"}, {"CEST", "MESZ"}, {"WET", "WEZ"}, {"WEST", "WESZ"}, {"EET", "OEZ"}, {"EEST", "OESZ"}};
  for (const auto& [from, to] : kGerman)
    if (abbreviation == from) return to;
  return abbreviation;
}

}  // namespace vk
