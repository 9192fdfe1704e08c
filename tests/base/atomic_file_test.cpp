#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
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
      "notes.txt",
  };
  const std::set<std::string> stale = {"a.bin.vk-partial." + dead + ".Ab12Cd",
                                       "Vesperkalend.ini.vk-partial." + dead + ".zzzzzz",
                                       "chart.bmp.vk-partial." + dead + ".q1w2e3"};
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

ino_t Inode(const std::filesystem::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

// A file replaced with its spare: the spare's room gets the new bytes (cut to
// their length) and the old version becomes the spare; a spare that is a
// link, has another name or is held by another writer is left alone and a
// temporary used instead; an abandoned write leaves the file as it was.
TEST(AtomicFile, TheSpareIsWrittenOverAndTakesTheOldVersion) {
  const struct Case {
    const char* what;
    const char* file;   // nullptr: none
    const char* spare;  // nullptr: none
    int kind;           // 0 a plain spare, 1 a link to "victim", 2 with a second name "other", 3 locked elsewhere
    bool commit;
    const char* file_after;
    const char* spare_after;  // nullptr: no spare
    bool in_spare_room;       // the new bytes are in the spare's old inode
  } cases[] = {
      {"first write", nullptr, nullptr, 0, true, "new", nullptr, false},
      {"no spare yet", "old", nullptr, 0, true, "new", "old", false},
      {"longer spare", "old", "an earlier, much longer version", 0, true, "new", "old", true},
      {"spare is a link", "old", "victim's bytes", 1, true, "new", "victim's bytes", false},
      {"spare has another name", "old", "shared bytes", 2, true, "new", "shared bytes", false},
      {"spare held by another writer", "old", "held", 3, true, "new", "held", false},
      {"abandoned", "old", "earlier", 0, false, "old", nullptr, false},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const std::filesystem::path file = dir / "d.txt", spare = SpareOf(file);
    ASSERT_EQ(spare, dir / ".d.txt.vk-spare");
    std::set<std::string> names;
    if (c.file) test::WriteFile(file, c.file), names.insert("d.txt");
    int held = -1;
    if (c.spare) {
      if (c.kind == 1) {
        test::WriteFile(dir / "victim", c.spare);
        std::filesystem::create_symlink(dir / "victim", spare);
        names.insert("victim");
      } else {
        test::WriteFile(spare, c.spare);
      }
      if (c.kind == 2) std::filesystem::create_hard_link(spare, dir / "other"), names.insert("other");
      if (c.kind == 3) {
        ASSERT_EQ(::flock(held = ::open(spare.c_str(), O_RDONLY), LOCK_EX), 0);
      }
      names.insert(spare.filename().string());
    }
    const ino_t spare_inode = Inode(spare);
    {
      AtomicFile f(file, /*reuse_spare=*/true);
      f.write(c.commit ? "new" : "new but never committed");
      if (c.commit) {
        f.commit(/*sync=*/false);
        names.insert("d.txt");
        if (c.spare_after) names.insert(spare.filename().string());
      }
    }
    if (held >= 0) ::close(held);
    EXPECT_EQ(test::ReadFile(file), c.file_after) << c.what;
    if (c.spare_after && c.kind == 0) {
      EXPECT_EQ(test::ReadFile(spare), c.spare_after) << c.what;
    }
    if (c.kind == 1) {
      EXPECT_EQ(test::ReadFile(dir / "victim"), c.spare) << c.what;
    }
    if (c.kind == 2) {
      EXPECT_EQ(test::ReadFile(dir / "other"), c.spare) << c.what;
    }
    if (c.in_spare_room) {
      EXPECT_EQ(Inode(file), spare_inode) << c.what;
    }
    if (!c.commit) names.insert(spare.filename().string());  // a spare that held part of the bytes
    EXPECT_EQ(Names(dir.path()), names) << c.what << ": no temporary left, nothing else";
  }
}

// Only a plain file trades names with its spare: a link of that name is
// replaced by the new file and a folder of that name refuses it, as a rename does.
TEST(AtomicFile, ALinkOrFolderOfTheNameIsNotExchangedWithTheSpare) {
  test::TempDir dir;
  const std::filesystem::path file = dir / "d.txt";
  test::WriteFile(dir / "target", "target's bytes");
  std::filesystem::create_symlink(dir / "target", file);
  {
    AtomicFile f(file, /*reuse_spare=*/true);
    f.write("new");
    f.commit(/*sync=*/false);
  }
  EXPECT_FALSE(std::filesystem::is_symlink(file));
  EXPECT_EQ(test::ReadFile(file), "new");
  EXPECT_EQ(test::ReadFile(dir / "target"), "target's bytes");
  EXPECT_FALSE(std::filesystem::exists(SpareOf(file))) << "the link is not kept as the spare";

  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  test::WriteFile(file / "inside", "kept");
  AtomicFile f(file, /*reuse_spare=*/true);
  f.write("new");
  EXPECT_THROW(f.commit(/*sync=*/false), Error);
  EXPECT_EQ(test::ReadFile(file / "inside"), "kept");
}

}  // namespace
}  // namespace vk
