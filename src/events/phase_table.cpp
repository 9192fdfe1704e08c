#include "events/phase_table.h"

#include <cmath>
#include <string>
#include <string_view>

#include "base/whole_file.h"
#include "base/error.h"
#include "base/line_fields.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

std::uint8_t LowByte(std::string_view text, const std::string& where) {
  try {
    return static_cast<std::uint8_t>(ParseInteger(text) & 0xFF);
  } catch (const Error&) {
    throw Error(kInvalidNumericInput, where);
  }
}

}  // namespace

void ReadPhaseTable(PhaseTable& table, const std::filesystem::path& path) {
  const std::string text = ReadWholeFile(path);
  std::string_view rest = text;
  table.Phase_Count = 0;
  for (int k = 1; k <= kPhaseDays; ++k) {
    const std::string where = path.string() + ", day " + std::to_string(k);
    const std::string_view jd = NextWord(rest);
    if (jd.empty()) {
      for (int rest = k; rest <= kPhaseDays; ++rest) table.Phase_Tab[rest] = tPhaseData{};
      return;
    }
    const auto value = TryParseFloat(jd);
    if (!value) throw Error(kInvalidNumericInput, where);
    tPhaseData d{};
    d.jd = *value;
    const std::string_view m = NextWord(rest), me = NextWord(rest), v = NextWord(rest);
    d.moon = LowByte(m, where);
    d.mercury = LowByte(me, where);
    d.venus = LowByte(v, where);
    table.Phase_Tab[k] = d;
    table.Phase_Count = k;
  }
}

}  // namespace vk
