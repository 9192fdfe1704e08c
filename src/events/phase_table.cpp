#include "events/phase_table.h"

#include <cmath>
#include <string>
#include <string_view>

#include "ephemeris/file_text.h"
#include "timecalc/errors.h"
#include "timecalc/input_checks.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

// Blank-separated tokens; each knows its line and column (1-based).
class Tokens {
 public:
  explicit Tokens(std::string_view s) : s_(s) {}
  // The next token, or empty at the end.
  std::string_view next() {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (pos_ < s_.size() && blank(s_[pos_])) {
      if (s_[pos_] == '\n' || (s_[pos_] == '\r' && (pos_ + 1 == s_.size() || s_[pos_ + 1] != '\n'))) {
        ++line_;
        line_start_ = pos_ + 1;
      }
      ++pos_;
    }
    std::size_t j = pos_;
    while (j < s_.size() && !blank(s_[j])) ++j;
    const std::string_view t = s_.substr(pos_, j - pos_);
    where_ = ", line " + std::to_string(line_) + ", column " + std::to_string(pos_ - line_start_ + 1);
    pos_ = j;
    return t;
  }
  // "…, line L, column C" of the token last returned.
  const std::string& where() const { return where_; }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  std::size_t line_start_ = 0;
  std::string where_;
};

std::uint8_t Index(Tokens& tokens, const std::string& file, int hi) {
  const std::string_view text = tokens.next();
  long long v = 0;
  try {
    v = ParseInteger(text);
  } catch (const Error&) {
    throw Error(kInvalidNumericInput + std::string(": ") + QuoteInput(text), file + tokens.where());
  }
  if (v < 0 || v > hi) throw Error(OutOfRange(text, 0, hi).what(), file + tokens.where());
  return static_cast<std::uint8_t>(v);
}

}  // namespace

void ReadPhaseTable(PhaseTable& table, const std::filesystem::path& path) {
  const std::string text = ReadWholeFile(path);
  const std::string file = path.string();
  Tokens tokens(text);
  table.Phase_Count = 0;
  for (int k = 1; k <= kPhaseDays; ++k) {
    const std::string_view jd = tokens.next();
    if (jd.empty()) {
      for (int rest = k; rest <= kPhaseDays; ++rest) table.Phase_Tab[rest] = tPhaseData{};
      return;
    }
    const auto value = TryParseFloat(jd);
    if (!value) throw Error(kInvalidNumericInput + std::string(": ") + QuoteInput(jd), file + tokens.where());
    tPhaseData d{};
    d.jd = *value;
    if (!(d.jd >= kAcceptedFirstJD && d.jd <= kAcceptedLastJD))
      throw Error(OutOfRange(jd, kAcceptedFirstJD, kAcceptedLastJD).what(), file + tokens.where());
    d.moon = Index(tokens, file, 35);
    d.mercury = Index(tokens, file, 35);
    d.venus = Index(tokens, file, 36);
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
