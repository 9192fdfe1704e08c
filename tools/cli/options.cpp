#include "options.h"

#include <algorithm>
#include <filesystem>

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/number_text.h"
#include "timecalc/input_checks.h"
#include "timecalc/input_checks.h"

namespace vk::tool {

std::optional<std::string> Options::take(const std::string& name) {
  auto it = std::find(args_.begin(), args_.end(), name);
  if (it == args_.end()) return std::nullopt;
  if (it + 1 == args_.end()) throw UsageError{name + " needs a value"};
  std::string value = *(it + 1);
  args_.erase(it, it + 2);
  if (std::find(args_.begin(), args_.end(), name) != args_.end()) throw UsageError{name + " is given twice"};
  return value;
}

bool Options::flag(const std::string& name) {
  auto it = std::find(args_.begin(), args_.end(), name);
  if (it == args_.end()) return false;
  args_.erase(it);
  return true;
}

std::optional<double> Options::number(const std::string& name, double lo, double hi) {
  const auto text = take(name);
  if (!text) return std::nullopt;
  const auto v = TryParseFloat(*text);
  if (!v) throw UsageError{name + ": " + QuoteInput(*text) + " is not a number"};
  if (*v < lo || *v > hi)
    throw UsageError{name + ": " + Printable(*text, 60) + " is outside " + FormatFixed(lo, 0) + " … " + FormatFixed(hi, 0)};
  return v;
}

std::optional<long long> Options::integer(const std::string& name, long long lo, long long hi) {
  const auto text = take(name);
  if (!text) return std::nullopt;
  long long v = 0;
  try {
    v = ParseInteger(*text);
  } catch (const Error&) {
    throw UsageError{name + ": " + QuoteInput(*text) + " is not an integer"};
  }
  if (v < lo || v > hi)
    throw UsageError{name + ": " + Printable(*text, 60) + " is outside " + std::to_string(lo) + " … " + std::to_string(hi)};
  return v;
}

std::string Options::folder(const std::string& name, const std::string& fallback) {
  const auto value = take(name);
  if (!value) return fallback;
  if (value->empty()) throw UsageError{name + ": the folder name is empty"};
  folders_.push_back(*value);
  return *value;
}

void Options::check_folders() const {
  for (const std::string& dir : folders_) {
    std::error_code ec;
    const auto type = std::filesystem::status(dir, ec).type();
    if (type == std::filesystem::file_type::not_found) throw Error(kFileNotFound, dir);
    if (type != std::filesystem::file_type::directory) throw Error("Not a folder", dir);
  }
}

std::optional<std::string> Options::output(const std::string& name) {
  auto value = take(name);
  if (!value) return value;
  if (value->empty()) throw UsageError{name + ": the file name is empty"};
  CheckWriteTarget(*value);
  return value;
}

void Options::finish() const {
  if (!args_.empty()) throw UsageError{"unknown argument " + QuoteInput(args_.front())};
}

}  // namespace vk::tool
