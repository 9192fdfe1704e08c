#include "ephemeris/ephemeris_stamp.h"

#include <sys/stat.h>

#include <algorithm>

namespace vk {

FileStamp StampFile(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::int64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

EphemerisStamp StampEphemeris(const std::filesystem::path& dir, const tPeriod& period) {
  EphemerisStamp s;
  s.dir = dir;
  for (int body = 0; body < kBodyCount; ++body)
    s.files[static_cast<std::size_t>(body)] = StampFile(dir / BinaryFileName(body, period));
  return s;
}

bool Complete(const EphemerisStamp& s) {
  return std::all_of(s.files.begin(), s.files.end(), [](const FileStamp& f) { return f.size >= 0; });
}

}  // namespace vk
