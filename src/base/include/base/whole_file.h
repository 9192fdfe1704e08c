// A whole file read into memory with one read.
#pragma once
#include <filesystem>
#include <string>

#include "base/large_array.h"

namespace vk {

// The bytes of `path`.
// Throws: Error "File not found" (the file named) when it does not exist, or
// the system's text when it cannot be opened or read.
std::string ReadWholeFile(const std::filesystem::path& path);
// The same into `text`, whose allocator stays (std::string or ArenaString).
template <class Text>
void ReadWholeFile(const std::filesystem::path& path, Text& text);

}  // namespace vk
