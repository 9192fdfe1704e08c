#include "reference_table.h"

#include <algorithm>
#include <stdexcept>

#include "ephemeris/ephemeris_data.h"
#include "base/error.h"
#include "timecalc/input_checks.h"
#include "timecalc/numeric.h"

namespace vk::test {

std::vector<ReferenceRow> ParseReferenceTable(std::string_view text) {
  std::vector<ReferenceRow> rows;
  int line_no = 0;
  while (!text.empty()) {
    const auto nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> c;
    for (std::size_t start = 0;;) {
      const auto tab = line.find('\t', start);
      c.emplace_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    const std::string where = "line " + std::to_string(line_no) + ": ";
    if (c.size() != 10) throw std::runtime_error(where + std::to_string(c.size()) + " columns, not 10");
    ReferenceRow r;
    r.line = line_no;
    try {
      r.lat = ParseFloat(c[0]);
      r.lon = ParseFloat(c[1]);
      r.zone = static_cast<int>(ParseInteger(c[2]));
      r.ut = ParseFloat(c[5]);
      r.absent = c[6] == "absent";
      if (!r.absent) r.tol_precise = ParseFloat(c[6]);
      r.classic = c[7] != "-";
      if (r.classic) r.tol_classic = ParseFloat(c[7]);
      r.check_local = c[8] != "-";
      if (r.check_local) r.local_offset = ParseFloat(c[8]);
    } catch (const Error& e) {
      throw std::runtime_error(where + e.what());
    }
    const auto body = std::find(BodyNames.begin(), BodyNames.end(), c[3]);
    if (body == BodyNames.end()) throw std::runtime_error(where + "unknown body '" + c[3] + "'");
    r.body = static_cast<int>(body - BodyNames.begin());
    if (std::find(kReferenceEvents.begin(), kReferenceEvents.end(), c[4]) == kReferenceEvents.end())
      throw std::runtime_error(where + "unknown event '" + c[4] + "'");
    r.event = c[4];
    rows.push_back(r);
  }
  return rows;
}

}  // namespace vk::test
