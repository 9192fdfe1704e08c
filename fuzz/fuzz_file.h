// The fuzz input as a file, for the readers that take a path: one in-memory
// file per process (memfd), rewritten for every input and opened again by
// the reader through /proc/self/fd.
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace vk::fuzz
