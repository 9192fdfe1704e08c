// The words for a file that is not a regular one, shared by the reader and
// the writer of base.
#pragma once
#include <sys/stat.h>

#include <string>

namespace vk {

// "Not a regular file (a FIFO)", "(a character device)", "(a folder)", ...
std::string NotRegularText(mode_t mode);

}  // namespace vk
