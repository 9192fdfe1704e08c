// The window's choices beyond the 39-byte settings file, kept in an INI file
// beside it.
#pragma once
#include <filesystem>

namespace vk {

inline constexpr const char* kOptionsFileName = "Vesperkalend-options.ini";

struct WindowOptions {
  bool precise_instants = true;  // "Exakte Zeiten": refined instants of rises, sets, transits and twilights
};

// Reads the options of `path`. A missing, unreadable or malformed file, and
// any key that is missing or holds no valid value, gives that option's
// default. Never fails.
WindowOptions ReadOptionsFile(const std::filesystem::path& path);

// Writes the options into `path`, keeping every other key the file holds: the
// file is copied to a temporary name beside it, changed there and renamed over
// `path` when complete.
// Throws: Error ("Cannot write the options file" or the system's text, with
// the file name) when it cannot be written; `path` is then unchanged.
void WriteOptionsFile(const std::filesystem::path& path, const WindowOptions& options);

}  // namespace vk
