#include "events/phase_table.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/line_fields.h"
#include "base/whole_file.h"
#include "timecalc/input_checks.h"

namespace vk {
namespace {

std::uint8_t Index(Words& tokens, const std::string& file, int hi) {
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

void ReadPhaseTable(PhaseTable& table, const std::filesystem::path& path, int days) {
  days = std::clamp(days, 1, kMaxPhaseDays);
  const std::string text = ReadWholeFile(path, kPhaseFileLimit);
  const std::string file = path.string();
  Words tokens(text);
  table.Phase_Count = 0;
  for (int k = 1; k <= days; ++k) {
    const std::string_view jd = tokens.next();
    if (jd.empty()) {
      for (int rest = k; rest <= kMaxPhaseDays; ++rest) table.Phase_Tab[rest] = tPhaseData{};
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

}  // namespace vk
