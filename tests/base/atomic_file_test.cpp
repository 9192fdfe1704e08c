#include "base/atomic_file.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <set>

#include "base/error.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

// The pid of a process that has ended.
long EndedPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

std::set<std::string> Names(const std::filesystem::path& dir) {
  std::set<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

TEST(AtomicFile, TemporariesOfEndedWritersAreRemovedAtTheNextWrite) {
  test::TempDir dir;
  const std::string dead = std::to_string(EndedPid());
  const std::string alive = std::to_string(::getpid());
  const std::set<std::string> kept = {
      "a.bin." + std::string("Ab12Cd"),              // another program's mkstemp name
      "a.bin.vk-partial." + alive + ".Ab12Cd",       // a writer that still runs
      "a.bin.vk-partial.x" + dead + ".Ab12Cd",        // no pid
      "a.bin.vk-partial." + dead + ".Ab12C",          // wrong length
      "a.bin.vk-partial." + dead + ".Ab12Cd.",        // a dot and no suffix
      "notes.txt",
  };
  const std::set<std::string> stale = {"a.bin.vk-partial." + dead + ".Ab12Cd",
                                       "Vesperkalend.ini.vk-partial." + dead + ".zzzzzz",
                                       "chart.bmp.vk-partial." + dead + ".q1w2e3",
                                       // the options file's temporary and the lock its library adds
                                       "Vesperkalend-options.ini.vk-partial." + dead + ".r5T6y7",
                                       "Vesperkalend-options.ini.vk-partial." + dead + ".r5T6y7.lock"};
  for (const auto& n : kept) test::WriteFile(dir / n, "x");
  for (const auto& n : stale) test::WriteFile(dir / n, "half");
  test::WriteFile(dir / "b.bin", "old");

  AtomicFile f(dir / "b.bin");
  f.write("new");
  f.commit();
  std::set<std::string> expected = kept;
  expected.insert("b.bin");
  EXPECT_EQ(Names(dir.path()), expected);
  EXPECT_EQ(test::ReadFile(dir / "b.bin"), "new");
  EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 0);
}

TEST(AtomicFile, TheTemporaryCarriesTheMarkAndThePid) {
  test::TempDir dir;
  AtomicFile f(dir / "c.txt");
  f.write("abc");
  const auto names = Names(dir.path());
  ASSERT_EQ(names.size(), 1u);
  const std::string prefix = "c.txt.vk-partial." + std::to_string(::getpid()) + ".";
  EXPECT_EQ(names.begin()->rfind(prefix, 0), 0u) << *names.begin();
  EXPECT_EQ(names.begin()->size(), prefix.size() + 6);
  EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 0) << "a running writer's temporary stays";
}

TEST(AtomicFile, AnAbandonedWriteLeavesTheOldFile) {
  test::TempDir dir;
  test::WriteFile(dir / "d.txt", "old");
  {
    AtomicFile f(dir / "d.txt");
    f.write("new but never committed");
  }
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"d.txt"});
  EXPECT_EQ(test::ReadFile(dir / "d.txt"), "old");
}

// A target that exists and is not a regular file is refused with its name and
// kind before anything is written, and again at the commit when one appeared
// meanwhile; it stays as it was, and no temporary is left.
TEST(AtomicFile, ASpecialFileIsNeverReplaced) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "folder");
  std::filesystem::create_symlink(dir / "fifo", dir / "link-to-fifo");
  std::filesystem::create_symlink("/dev/null", dir / "link-to-null");
  test::WriteFile(dir / "plain", "x");
  const struct Case {
    std::string target;
    std::string text;  // the error's text; its file is the target
  } cases[] = {
      {"", "The file name is empty"},
      {(dir / "fifo").string(), "Not a regular file (a FIFO)"},
      {(dir / "folder").string(), "Not a regular file (a folder)"},
      {(dir / "link-to-fifo").string(), "Not a regular file (a FIFO)"},
      {(dir / "link-to-null").string(), "Not a regular file (a character device)"},
      {"/dev/null", "Not a regular file (a character device)"},
      {(dir / "missing" / "x.txt").string(), "No such file or directory"},
      {(dir / "plain" / "x.txt").string(), "Not a directory"},
  };
  const auto before = Names(dir.path());
  for (const Case& c : cases) {
    try {
      AtomicFile f(c.target);
      FAIL() << c.target << " accepted";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), c.text) << c.target;
      EXPECT_EQ(e.file(), c.target);
    }
    EXPECT_THROW(CheckWriteTarget(c.target), Error) << c.target;
  }
  EXPECT_EQ(Names(dir.path()), before);
  struct stat st {};
  ASSERT_EQ(::lstat((dir / "fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));

  {
    AtomicFile f(dir / "late");
    f.write("new");
    ASSERT_EQ(::mkfifo((dir / "late").c_str(), 0644), 0);
    EXPECT_THROW(f.commit(/*sync=*/false), Error);
  }
  ASSERT_EQ(::lstat((dir / "late").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  auto expected = before;
  expected.insert("late");
  EXPECT_EQ(Names(dir.path()), expected) << "no temporary left";
}

// A written file gets the mode the umask gives, whatever the mode of the file
// it replaces (a world-writable old file does not make a world-writable new one).
TEST(AtomicFile, TheModeIsTheUmasks) {
  const struct Case {
    mode_t umask;
    mode_t old_mode;  // 0: no old file
    mode_t mode;
  } cases[] = {{022, 0, 0644}, {077, 0, 0600}, {002, 0, 0664}, {027, 0666, 0640}, {022, 0600, 0644}};
  for (const Case& c : cases) {
    test::TempDir dir;
    const auto file = dir / "m.txt";
    if (c.old_mode != 0) {
      test::WriteFile(file, "old");
      ::chmod(file.c_str(), c.old_mode);
    }
    const mode_t saved = ::umask(c.umask);
    {
      AtomicFile f(file);
      f.write("new");
      f.commit(/*sync=*/false);
    }
    ::umask(saved);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode) << "umask " << std::oct << c.umask << ", old mode " << c.old_mode;
  }
}

}  // namespace
}  // namespace vk
