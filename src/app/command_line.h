// The window program's own command-line options, answered before any window
// or display is opened.
#pragma once
#include <optional>
#include <ostream>

namespace vk {

// Answers --help/-h (the options) and --version/-v ("vesperkalend VERSION")
// on `out`. Returns: the exit status when one of them was given (0), or
// nothing when the program should start its window. Other arguments are left
// to the toolkit.
std::optional<int> Answer_Command_Line(int argc, const char* const* argv, std::ostream& out);

}  // namespace vk
