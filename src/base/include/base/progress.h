// Progress of long operations: a status text on a colour. The window shows it
// in its status bar, the tool prints it to stderr.
#pragma once
#include <functional>
#include <string_view>

namespace vk {

enum class StatusColour { ButtonFace, Red, Yellow };

using ProgressFn = std::function<void(std::string_view text, StatusColour colour)>;

}  // namespace vk
