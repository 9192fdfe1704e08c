// The one reader of files: regular files only, within the caller's limit,
// never waiting on a FIFO.
#include "base/whole_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/guarded.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

// What reading `path` gives: the bytes, or "error: <text>", the file named
// checked; "hung" when the reader waited.
std::string Outcome(const std::filesystem::path& path, std::uint64_t limit, bool start_only = false) {
  return test::Guarded([&]() -> std::string {
    try {
      return start_only ? ReadFileStart(path, static_cast<std::size_t>(limit)) : ReadWholeFile(path, limit);
    } catch (const Error& e) {
      return std::string("error: ") + e.what() + (e.file() == path.string() ? "" : " (file not named)");
    }
  });
}

TEST(InputFile, OnlyRegularFilesWithinTheirLimit) {
  test::TempDir dir;
  test::WriteFile(dir / "ten", "0123456789");
  test::WriteFile(dir / "empty", "");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "folder");
  std::filesystem::create_symlink(dir / "ten", dir / "link");
  const struct Case {
    std::filesystem::path path;
    std::uint64_t limit;
    bool start_only;  // ReadFileStart with `limit` bytes
    const char* outcome;
  } cases[] = {
      {dir / "ten", 10, false, "0123456789"},
      {dir / "ten", 100, false, "0123456789"},
      {dir / "ten", 9, false, "error: File too large: 10 bytes, at most 9"},
      {dir / "empty", 0, false, ""},
      {dir / "link", 10, false, "0123456789"},
      {dir / "missing", 10, false, "error: File not found"},
      {dir / "fifo", 10, false, "error: Not a regular file (a FIFO)"},
      {dir / "folder", 10, false, "error: Not a regular file (a folder)"},
      {"/dev/zero", 1 << 20, false, "error: Not a regular file (a character device)"},
      {"/dev/urandom", 1 << 20, false, "error: Not a regular file (a character device)"},
      {dir / "ten", 4, true, "0123"},
      {dir / "ten", 39, true, "0123456789"},
      {dir / "fifo", 39, true, "error: Not a regular file (a FIFO)"},
      {"/dev/zero", 39, true, "error: Not a regular file (a character device)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Outcome(c.path, c.limit, c.start_only), c.outcome) << c.path << " limit " << c.limit;
}

}  // namespace
}  // namespace vk
