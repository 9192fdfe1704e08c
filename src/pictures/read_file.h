// Reading a whole file into memory, with the runtime's error texts.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vk {

// Returns the bytes of `file`.
// Throws: Error(kFileNotFound, file) when it does not exist;
//   Error(<system text>, file) when it cannot be opened or read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file);

}  // namespace vk
