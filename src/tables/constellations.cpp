#include "constellations.h"

#include <erfa.h>
#include <erfam.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>

#include "base/error.h"

namespace vk::ephemgen {
namespace {

// TT Julian date of B1875.0, as two parts.
constexpr double kB1875Jd1 = 2400000.5;
constexpr double kB1875Jd2 = 5888.758550475;

std::string_view NextField(std::string_view& s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  std::size_t n = 0;
  while (n < s.size() && s[n] != ' ' && s[n] != '\t') ++n;
  const std::string_view field = s.substr(0, n);
  s.remove_prefix(n);
  return field;
}

bool ToDouble(std::string_view text, double& value) {
  if (text.empty()) return false;
  if (text.front() == '+') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace

ConstellationTable ConstellationTable::Load(const std::filesystem::path& path) {
  const std::string name = path.string();
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(std::filesystem::exists(path) ? "Cannot open file" : kFileNotFound, name);
  ConstellationTable table;
  std::string line;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string_view s = line;
    const std::string_view first = NextField(s);
    if (first.empty() || first.front() == '#') continue;
    Row row{};
    std::string_view rest = s;
    const std::string_view f2 = NextField(rest), f3 = NextField(rest), abbr = NextField(rest);
    const bool ok = ToDouble(first, row.ra_low) && ToDouble(f2, row.ra_high) && ToDouble(f3, row.dec_low) &&
                    abbr.size() == 3 && NextField(rest).empty() && row.ra_low >= 0 && row.ra_low < row.ra_high &&
                    row.ra_high <= 24 && row.dec_low >= -90 && row.dec_low <= 90 &&
                    (table.rows_.empty() || row.dec_low <= table.rows_.back().dec_low);
    if (!ok) throw Error("Bad constellation boundary row " + std::to_string(line_no) + ": '" + line + "'", name);
    abbr.copy(row.abbr, 3);
    row.abbr[3] = '\0';
    table.rows_.push_back(row);
  }
  if (in.bad()) throw Error("Read error", name);
  if (table.rows_.empty()) throw Error("No constellation boundary rows", name);
  eraPmat06(kB1875Jd1, kB1875Jd2, table.to_b1875_);
  return table;
}

std::string_view ConstellationTable::Find(double ra_hours, double dec_deg) const {
  for (const Row& row : rows_) {
    if (dec_deg >= row.dec_low && row.ra_low <= ra_hours && ra_hours < row.ra_high) return {row.abbr, 3};
  }
  return "???";
}

std::string_view ConstellationTable::FindIcrf(const double icrf[3]) const {
  double p[3], b1875[3];
  for (int i = 0; i < 3; ++i) p[i] = icrf[i];
  eraRxp(const_cast<double(*)[3]>(to_b1875_), p, b1875);
  double ra = 0, dec = 0;
  eraC2s(b1875, &ra, &dec);
  double ra_hours = eraAnp(ra) * 12 / ERFA_DPI;
  if (ra_hours >= 24) ra_hours -= 24;
  return Find(ra_hours, dec * ERFA_DR2D);
}

}  // namespace vk::ephemgen
