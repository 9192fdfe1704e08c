// Splitting of text lines: TAB-separated fields (the hourly exports, the event
// log) and blank-separated words (the phase table).
#pragma once
#include <string>
#include <string_view>

namespace vk {

// A line of TAB-separated fields, consumed from the left. Never throws.
class TabFields {
 public:
  explicit TabFields(std::string_view line) : rest_(line) {}
  // The number of the current field, 1 for the first.
  int column() const { return column_; }
  // The current field: the text before the next TAB (all the rest when no TAB follows).
  std::string_view peek() const { return rest_.substr(0, tab()); }
  // True when the current field is empty and a TAB follows it.
  bool empty_field() const { return !rest_.empty() && rest_.front() == '\t'; }
  // Drops `count` fields with their TABs (all the rest when no TAB follows).
  void drop(int count = 1) {
    for (int i = 0; i < count; ++i) {
      const auto t = tab();
      rest_ = t == std::string_view::npos ? std::string_view{} : rest_.substr(t + 1);
      tab_ = kUnknown;
      ++column_;
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
  static constexpr std::size_t kUnknown = std::string_view::npos - 1;
  // Where the current field's TAB is, found once per field.
  std::size_t tab() const {
    if (tab_ == kUnknown) tab_ = rest_.find('\t');
    return tab_;
  }
  std::string_view rest_;
  mutable std::size_t tab_ = kUnknown;
  int column_ = 1;
};

// Blank-separated words (blanks are space, TAB, CR and LF), each with the
// line and column (1-based) where it starts. Never throws except std::bad_alloc.
class Words {
 public:
  explicit Words(std::string_view text) : s_(text) {}
  // The next word, or empty at the end.
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
    const std::string_view word = s_.substr(pos_, j - pos_);
    where_ = ", line " + std::to_string(line_) + ", column " + std::to_string(pos_ - line_start_ + 1);
    pos_ = j;
    return word;
  }
  // ", line L, column C" of the word last returned.
  const std::string& where() const { return where_; }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  std::size_t line_start_ = 0;
  std::string where_;
};

}  // namespace vk
