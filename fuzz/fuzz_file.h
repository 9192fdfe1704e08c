// What the fuzz targets share. The fuzz input as a file, for the readers that
// take a path: one in-memory file per process (memfd), rewritten for every
// input and opened again by the reader through /proc/self/fd.
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "events/event_table.h"

namespace vk::fuzz {

inline std::filesystem::path InputFile(const std::uint8_t* data, std::size_t size) {
  static const int fd = ::memfd_create("vk-fuzz-input", 0);
  static const std::filesystem::path path = "/proc/self/fd/" + std::to_string(fd);
  if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
  for (std::size_t done = 0; done < size;) {
    const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  return path;
}

// Two table entries alike in every field (zeros with their sign, NaN as NaN).
inline bool SameEntry(const vk::tEventData& x, const vk::tEventData& y) {
  auto same = [](double a, double b) { return (a == b && std::signbit(a) == std::signbit(b)) || (a != a && b != b); };
  return x.line == y.line && same(x.jd_ut, y.jd_ut) && same(x.jd_local, y.jd_local) && x.body == y.body &&
         x.event == y.event && same(x.au, y.au) && same(x.km, y.km) && same(x.earth_radii, y.earth_radii) &&
         x.angle == y.angle && same(x.diameter, y.diameter) && same(x.magnitude, y.magnitude) && x.note == y.note;
}

}  // namespace vk::fuzz
