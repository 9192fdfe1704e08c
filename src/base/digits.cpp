#include "base/digits.h"

#include <charconv>

namespace vk {

void AppendZeroPadded(std::string& out, long long value, int width) {
  char buf[24];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  for (int n = static_cast<int>(end - buf); n < width; ++n) out += '0';
  out.append(buf, end);
}

std::string LastDigits(long long value, int digits) {
  std::string text;
  AppendZeroPadded(text, value, digits);
  return text.substr(text.size() - static_cast<std::size_t>(digits));
}

}  // namespace vk
