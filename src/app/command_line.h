// The window program's own command-line options, answered before any window
// or display is opened.
#pragma once
#include <optional>
#include <ostream>

#include "base/language.h"

namespace vk {

struct CommandLine {
  std::optional<int> exit_status;     // set: end with it, no window
  std::optional<Language> language;   // --lang de|en
};

// Answers --help/-h (the options) and --version/-v ("vesperkalend VERSION")
// on `out`, and takes --lang de|en. Returns: the exit status when the program
// should end without a window (0 after --help or --version; 2 after a --lang
// without de or en, told on `err`), and the language asked for. Other
// arguments are left to the toolkit.
CommandLine Answer_Command_Line(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace vk
