// A file written under a temporary name in its own folder and renamed over
// the real name only when complete, so that a failure never leaves a
// truncated file behind under the real name.
#pragma once
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace vk {

// Temporaries are named "<file>.vk-partial.<pid>.<6 random characters>";
// files another library makes beside one ("<temporary>.lock",
// "<temporary>.<its own suffix>") count as part of it.
inline constexpr const char* kTemporaryMark = ".vk-partial.";

// Removes the temporaries in `dir` whose writing process no longer runs (left
// by a crash or a kill). Returns how many were removed. Never fails: a folder
// or file that cannot be read or removed is passed over.
int RemoveStaleTemporaries(const std::filesystem::path& dir);

// Refuses `path` as a file to write: an empty name, a name that exists and is
// not a regular file (or a link to one), a folder that is missing or not
// writable. Throws: Error "The file name is empty", "Not a regular file (a
// FIFO)" (a device, folder, socket) or the system's text, the file named.
void CheckWriteTarget(const std::filesystem::path& path);

// A new empty temporary file beside `path` (stale temporaries of its folder
// removed first), with the mode the umask gives.
// Returns: its descriptor, open for writing, and its name.
// Throws: Error with the system's text and the file name when it cannot.
struct TemporaryFile {
  int fd = -1;
  std::filesystem::path name;
};
TemporaryFile CreateTemporary(const std::filesystem::path& path);

class AtomicFile {
 public:
  // Checks the target (CheckWriteTarget), then creates the temporary file
  // beside it (CreateTemporary).
  // Throws: Error as those do.
  explicit AtomicFile(std::filesystem::path path);
  // Removes the temporary file unless commit() succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends bytes. Throws: Error on a write failure.
  void write(const void* data, std::size_t size);
  void write(std::string_view text) { write(text.data(), text.size()); }
  // Checks the target again (CheckWriteTarget), flushes, closes and renames
  // over the real name. With `sync` the data
  // are synced before and the folder after.
  // Throws: Error on failure; the real file is then unchanged.
  void commit(bool sync = true);

  const std::filesystem::path& path() const { return path_; }

 private:
  void Create();
  [[noreturn]] void fail(int err);
  std::filesystem::path path_;
  std::filesystem::path temp_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
};

}  // namespace vk
