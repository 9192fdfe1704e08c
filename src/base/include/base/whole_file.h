// The one way the program opens a file for reading: without blocking on a
// FIFO, checked on the opened descriptor to be a regular file, within a size
// limit that each reader declares for its kind of file.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/large_array.h"

namespace vk {

inline constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

// A regular file opened for reading.
class InputFile {
 public:
  // Opens `path` (never waiting for a writer of a FIFO) and checks the opened
  // file: a regular file of at most `limit` bytes.
  // Throws: Error "File not found" (the file named) when it does not exist;
  // Error "Not a regular file (a FIFO)" (or a device, folder, socket) or
  // "File too large: N bytes, at most L" (the file named); the system's text
  // when it cannot be opened.
  InputFile(const std::filesystem::path& path, std::uint64_t limit);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  int fd() const { return fd_; }
  // The size when opened.
  std::uint64_t size() const { return size_; }
  const std::filesystem::path& path() const { return path_; }
  // Reads up to `count` bytes into `to` from the current position; fewer only
  // at the end of the file. Returns the bytes read.
  // Throws: Error with the system's text when reading fails.
  std::size_t read(void* to, std::size_t count);
  // The same from byte `offset` of the file, leaving the current position.
  std::size_t read_at(void* to, std::size_t count, std::uint64_t offset);

 private:
  // read (offset < 0) or read_at.
  std::size_t ReadFrom(void* to, std::size_t count, std::int64_t offset);

  std::filesystem::path path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// The checks of InputFile alone (for a reader that opens the file itself).
// Throws: as InputFile.
void CheckInputFile(const std::filesystem::path& path, std::uint64_t limit);

// The bytes of `path`, a regular file of at most `limit` bytes.
// Throws: as InputFile, and "File too large" when the file grew past the
// limit while read.
std::string ReadWholeFile(const std::filesystem::path& path, std::uint64_t limit);
// The same into `text`, whose allocator stays (std::string or ArenaString).
template <class Text>
void ReadWholeFile(const std::filesystem::path& path, std::uint64_t limit, Text& text);

// The first `count` bytes of the regular file `path`, fewer when it is
// shorter; a longer file is not an error. Throws: as InputFile.
std::string ReadFileStart(const std::filesystem::path& path, std::size_t count);

}  // namespace vk
