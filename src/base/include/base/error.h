// The one exception type of the program: file and conversion errors with the
// runtime's texts. They end the operation in progress.
#pragma once
#include <stdexcept>
#include <string>

namespace vk {

class Error : public std::runtime_error {
 public:
  // text: the message shown to the user ("File not found", ...);
  // file: the file concerned, or empty.
  explicit Error(const std::string& text, std::string file = {})
      : std::runtime_error(text), file_(std::move(file)) {}
  const std::string& file() const noexcept { return file_; }
  // "file: text" when a file is known, else the text alone.
  std::string describe() const { return file_.empty() ? what() : file_ + ": " + what(); }

 private:
  std::string file_;
};

inline constexpr const char* kFileNotFound = "File not found";
inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kInvalidNumericInput = "Invalid numeric input";
inline constexpr const char* kRangeCheckError = "Range check error";

// The offending text is quoted printable and cut (QuoteInput, input_checks.h).
Error InvalidFloat(const std::string& text);
Error InvalidInteger(const std::string& text);

}  // namespace vk
