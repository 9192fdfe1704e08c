// What identifies a file as read: device, inode, size and modification
// time; and the nine binary files as loaded: their folder and their stamps.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>

#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"

namespace vk {

struct FileStamp {
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = -1;  // -1: the file could not be examined
  std::int64_t mtime_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

struct EphemerisStamp {
  std::filesystem::path dir;
  std::array<FileStamp, kBodyCount> files;
  bool operator==(const EphemerisStamp&) const = default;
};

// The stamp of the file at `path` as it is now (a symbolic link followed);
// size −1 when it cannot be examined. Never fails.
FileStamp StampFile(const std::filesystem::path& path);

// The stamp of the nine binary files of `period` in `dir` as they are now. A
// file that cannot be examined gets size −1. Never fails.
EphemerisStamp StampEphemeris(const std::filesystem::path& dir, const tPeriod& period = kDocumentedPeriod);

// True when every file of `s` could be examined. Never fails.
bool Complete(const EphemerisStamp& s);

}  // namespace vk
