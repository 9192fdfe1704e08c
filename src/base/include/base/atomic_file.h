// A file written under a temporary name in its own folder and renamed over
// the real name only when complete, so that a failure never leaves a
// truncated file behind under the real name.
#pragma once
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace vk {

class AtomicFile {
 public:
  // Creates the temporary file beside `path`.
  // Throws: Error with the system's text and the file name when it cannot.
  explicit AtomicFile(std::filesystem::path path);
  // Removes the temporary file unless commit() succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends bytes. Throws: Error on a write failure.
  void write(const void* data, std::size_t size);
  void write(std::string_view text) { write(text.data(), text.size()); }
  // Flushes, closes and renames over the real name (with fsync when `sync`).
  // Throws: Error on failure; the real file is then unchanged.
  void commit(bool sync = false);

  const std::filesystem::path& path() const { return path_; }

 private:
  [[noreturn]] void fail(int err);
  std::filesystem::path path_;
  std::filesystem::path temp_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
};

}  // namespace vk
