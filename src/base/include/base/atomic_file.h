// A file written under a temporary name in its own folder and renamed over
// the real name only when complete, so that a failure never leaves a
// truncated file behind under the real name.
#pragma once
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace vk {

// Temporaries are named "<file>.vk-partial.<pid>.<6 random characters>".
inline constexpr const char* kTemporaryMark = ".vk-partial.";

// Removes the temporaries in `dir` whose writing process no longer runs (left
// by a crash or a kill). Returns how many were removed. Never fails: a folder
// or file that cannot be read or removed is passed over.
int RemoveStaleTemporaries(const std::filesystem::path& dir);

// The spare of `path` (see AtomicFile): ".<file>.vk-spare" beside it.
std::filesystem::path SpareOf(const std::filesystem::path& path);

class AtomicFile {
 public:
  // Removes stale temporaries of the folder (RemoveStaleTemporaries), then
  // creates the temporary file beside `path`.
  // Throws: Error with the system's text and the file name when it cannot.
  explicit AtomicFile(std::filesystem::path path);
  // With `reuse_spare`, for a file replaced again and again: the bytes are
  // written over the file kept as SpareOf(path), from its start, and commit()
  // exchanges the two names, so that the file's old version becomes the next
  // spare: the old version's room is written over instead of freed and taken
  // anew. A spare that is not a plain file with one name, or that another
  // writer holds, is not used: then a temporary is written as without it, and
  // so where the file system cannot exchange names. Throws: as above.
  AtomicFile(std::filesystem::path path, bool reuse_spare);
  // Removes the temporary file unless commit() succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends bytes. Throws: Error on a write failure.
  void write(const void* data, std::size_t size);
  void write(std::string_view text) { write(text.data(), text.size()); }
  // Flushes, closes and renames over the real name (or exchanges it with the
  // spare). With `sync` the data are synced before and the folder after.
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
  bool spare_ = false;  // temp_ is the spare: kept, not removed, when the commit does not happen
};

}  // namespace vk
