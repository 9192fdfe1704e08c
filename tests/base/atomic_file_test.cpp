#include "base/atomic_file.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <set>

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

}  // namespace
}  // namespace vk
