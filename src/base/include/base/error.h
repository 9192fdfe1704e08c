// The one exception type of the program: file and conversion errors with the
// runtime's texts. They end the operation in progress.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace vk {

class Error : public std::runtime_error {
 public:
  // text: the message shown to the user ("File not found", ...);
  // file: the file concerned, or empty.
  explicit Error(const std::string& text, std::string file = {})
      : std::runtime_error(text), file_(std::move(file)) {}
  const std::string& file() const noexcept { return file_; }
  // "file: text" when a file is known, else the text alone; the file's name
  // printable (Printable, at most kPathLimit bytes of it).
  std::string describe() const;

 private:
  std::string file_;
};

// The most bytes of a file name a message shows (the system's longest path).
inline constexpr std::size_t kPathLimit = 4096;

// At most `limit` bytes of `text` (then "…"), each control character and byte
// 0x7F written as \r, \n, \t or \xNN, a backslash as \\: one printable line.
std::string Printable(std::string_view text, std::size_t limit);

inline constexpr const char* kFileNotFound = "File not found";
inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kInvalidNumericInput = "Invalid numeric input";
inline constexpr const char* kRangeCheckError = "Range check error";

// The offending text is quoted printable and cut (QuoteInput, input_checks.h).
Error InvalidFloat(const std::string& text);
Error InvalidInteger(const std::string& text);

}  // namespace vk
