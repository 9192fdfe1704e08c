// Splitting of text lines: TAB-separated fields (the hourly exports, the event
// log) and blank-separated words (the phase table).
#pragma once
#include <string_view>

namespace vk {

// A line of TAB-separated fields, consumed from the left. Never throws.
class TabFields {
 public:
  explicit TabFields(std::string_view line) : rest_(line) {}
  // The current field: the text before the next TAB (all the rest when no TAB follows).
  std::string_view peek() const { return rest_.substr(0, rest_.find('\t')); }
  // True when the current field is empty and a TAB follows it.
  bool empty_field() const { return !rest_.empty() && rest_.front() == '\t'; }
  // Drops `count` fields with their TABs (all the rest when no TAB follows).
  void drop(int count = 1) {
    for (int i = 0; i < count; ++i) {
      const auto tab = rest_.find('\t');
      rest_ = tab == std::string_view::npos ? std::string_view{} : rest_.substr(tab + 1);
    }
  }
  // The current field, dropped.
  std::string_view take() {
    const std::string_view field = peek();
    drop();
    return field;
  }
  // The current field and everything after it.
  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// The next word of `text` (blanks are space, TAB, CR and LF), removed from the
// front of `text` with the blanks before it; empty at the end. Never throws.
inline std::string_view NextWord(std::string_view& text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t i = 0;
  while (i < text.size() && blank(text[i])) ++i;
  std::size_t j = i;
  while (j < text.size() && !blank(text[j])) ++j;
  const std::string_view word = text.substr(i, j - i);
  text.remove_prefix(j);
  return word;
}

}  // namespace vk
