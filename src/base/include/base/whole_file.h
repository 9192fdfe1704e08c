// A whole file read into memory with one read.
#pragma once
#include <filesystem>
#include <string>

namespace vk {

// The bytes of `path`.
// Throws: Error "File not found" (the file named) when it does not exist, or
// the system's text when it cannot be opened or read.
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace vk
