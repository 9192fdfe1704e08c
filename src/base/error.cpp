#include "base/error.h"

namespace vk {

std::string Printable(std::string_view text, std::size_t limit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  const bool cut = text.size() > limit;
  if (cut) text = text.substr(0, limit);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\x";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;
        }
    }
  }
  if (cut) out += "\xE2\x80\xA6";  // …
  return out;
}

std::string Error::describe() const {
  return file_.empty() ? what() : Printable(file_, kPathLimit) + ": " + what();
}

}  // namespace vk
