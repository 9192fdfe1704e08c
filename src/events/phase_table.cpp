#include "events/phase_table.h"

#include <cmath>
#include <string>
#include <string_view>

#include "ephemeris/file_text.h"
#include "timecalc/errors.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

class Tokens {
 public:
  explicit Tokens(std::string_view s) : s_(s) {}
  // The next token, or empty at the end.
  std::string_view next() {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t i = 0;
    while (i < s_.size() && blank(s_[i])) ++i;
    std::size_t j = i;
    while (j < s_.size() && !blank(s_[j])) ++j;
    const std::string_view t = s_.substr(i, j - i);
    s_ = s_.substr(j);
    return t;
  }

 private:
  std::string_view s_;
};

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
  Tokens tokens(text);
  table.Phase_Count = 0;
  for (int k = 1; k <= kPhaseDays; ++k) {
    const std::string where = path.string() + ", day " + std::to_string(k);
    const std::string_view jd = tokens.next();
    if (jd.empty()) {
      for (int rest = k; rest <= kPhaseDays; ++rest) table.Phase_Tab[rest] = tPhaseData{};
      return;
    }
    const auto value = TryParseFloat(jd);
    if (!value) throw Error(kInvalidNumericInput, where);
    tPhaseData d{};
    d.jd = *value;
    const std::string_view m = tokens.next(), me = tokens.next(), v = tokens.next();
    d.moon = LowByte(m, where);
    d.mercury = LowByte(me, where);
    d.venus = LowByte(v, where);
    table.Phase_Tab[k] = d;
    table.Phase_Count = k;
  }
}

const tPhaseData* FindPhaseDay(const PhaseTable& table, double day_jd) {
  for (int k = 1; k <= table.Phase_Count; ++k)
    if (std::fabs(table.Phase_Tab[k].jd - day_jd) < 1e-6) return &table.Phase_Tab[k];
  return nullptr;
}

}  // namespace vk
