// The ending of a file name as the writers compare it.
#pragma once
#include <filesystem>
#include <string>

namespace vk {

// The extension of `path` with ASCII letters in lower case (".PDF" → ".pdf");
// empty when it has none. Never fails except std::bad_alloc.
std::string Lower_Ending(const std::filesystem::path& path);

}  // namespace vk
