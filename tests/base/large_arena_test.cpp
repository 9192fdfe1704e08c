// Room taken from a shared arena by containers on several threads; the
// platform's large blocks beneath it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "base/large_array.h"
#include "base/platform.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

// Vectors filled side by side on four threads, each growing past its first
// room and, with a small arena, past the arena: every element keeps its
// value, and no two vectors share a byte.
TEST(LargeArena, VectorsFilledOnSeveralThreadsKeepTheirOwnRoom) {
  for (std::size_t arena_bytes : {std::size_t{64} << 10, std::size_t{8} << 20}) {
    auto arena = std::make_shared<LargeArena>(arena_bytes);
    using Vector = std::vector<std::uint64_t, ArenaAllocator<std::uint64_t>>;
    std::vector<Vector> vectors;
    for (int t = 0; t < 4; ++t) vectors.emplace_back(ArenaAllocator<std::uint64_t>(arena)).reserve(100);
    std::vector<std::thread> threads;
    for (std::uint64_t t = 0; t < 4; ++t)
      threads.emplace_back([&, t] {
        for (std::uint64_t i = 0; i < 50000; ++i) vectors[t].push_back(t << 32 | i);
      });
    for (std::thread& th : threads) th.join();
    std::vector<std::pair<const void*, const void*>> ranges;
    for (std::uint64_t t = 0; t < 4; ++t) {
      const Vector& v = vectors[t];
      ASSERT_EQ(v.size(), 50000u);
      for (std::uint64_t i = 0; i < v.size(); ++i)
        ASSERT_EQ(v[i], t << 32 | i) << "vector " << t << ", element " << i << ", arena " << arena_bytes;
      ranges.emplace_back(v.data(), v.data() + v.capacity());
    }
    std::sort(ranges.begin(), ranges.end());
    for (std::size_t k = 1; k < ranges.size(); ++k)
      EXPECT_LE(ranges[k - 1].second, ranges[k].first) << "arena " << arena_bytes;
    // The small arena is full: the larger vectors live on the heap.
    const bool any_outside = std::any_of(ranges.begin(), ranges.end(), [&](auto r) { return !arena->holds(r.first); });
    EXPECT_EQ(any_outside, arena_bytes < (std::size_t{1} << 20));
    // A copy takes no room from the arena; a move keeps the room it had.
    const Vector copy = vectors[0];
    EXPECT_FALSE(arena->holds(copy.data()));
    const std::uint64_t* const room = vectors[1].data();
    Vector moved;
    moved = std::move(vectors[1]);
    EXPECT_EQ(moved.data(), room);
  }
}

TEST(LargeArena, TakesAlignedRoomUntilFull) {
  LargeArena arena(1000);
  void* a = arena.take(1);
  void* b = arena.take(100);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b) % 64, 0u);
  EXPECT_GE(static_cast<char*>(b) - static_cast<char*>(a), 64);
  EXPECT_EQ(arena.take(1000), nullptr);
  EXPECT_EQ(arena.take(SIZE_MAX), nullptr);
  EXPECT_TRUE(arena.holds(b));
  int outside = 0;
  EXPECT_FALSE(arena.holds(&outside));
}

// Blocks of every size class come aligned to 2 MiB and cleared, and can be
// written to their last byte; a size beyond any block is refused; the
// program's own path names this test program.
TEST(Platform, LargeBlocksAreAlignedAndClearedAndTheProgramKnowsItsPath) {
  for (bool huge : {false, true})
    for (std::size_t size : {kLargePage, 3 * kLargePage}) {
      auto* p = static_cast<unsigned char*>(MapLargeBlock(size, huge));
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % kLargePage, 0u);
      EXPECT_TRUE(std::all_of(p, p + size, [](unsigned char c) { return c == 0; }));
      p[size - 1] = 1;
      UnmapLargeBlock(p, size);
    }
  EXPECT_THROW(MapLargeBlock(SIZE_MAX - kLargePage / 2, false), std::bad_alloc);
  EXPECT_EQ(ExecutablePath().filename(), "vk_base_tests");
}

// The user's data folder follows XDG_DATA_HOME only when it is absolute; the
// event log leaves an installation's shared folder and a read-only one for it.
TEST(Platform, UserDataFolderAndTheEventLogsFolder) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  const std::string xdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  const struct {
    const char* xdg;  // null: unset
    const char* home;
    const char* want;
  } homes[] = {
      {"/x/data", "/home/u", "/x/data/vesperkalend"},
      {"rel/data", "/home/u", "/home/u/.local/share/vesperkalend"},
      {nullptr, "/root", "/root/.local/share/vesperkalend"},
      {"", "", "./.local/share/vesperkalend"},
  };
  for (const auto& c : homes) {
    if (c.xdg) setenv("XDG_DATA_HOME", c.xdg, 1); else unsetenv("XDG_DATA_HOME");
    setenv("HOME", c.home, 1);
    EXPECT_EQ(UserDataDir(), std::filesystem::path(c.want)) << c.want;
  }
  const test::TempDir dir;
  setenv("XDG_DATA_HOME", (dir / "user").c_str(), 1);
  const std::filesystem::path user = dir / "user" / "vesperkalend";
  for (const char* sub : {"data", "usr/share/vesperkalend", "usr/share/vesperkalend-old", "locked"})
    std::filesystem::create_directories(dir / sub);
  ::chmod((dir / "locked").c_str(), 0555);
  const bool root = ::geteuid() == 0;  // root writes into any folder
  const struct {
    std::filesystem::path data;
    std::filesystem::path want;
  } logs[] = {
      {dir / "data", dir / "data"},
      {dir / "usr/share/vesperkalend", user},
      {dir.path().string() + "/usr/share/vesperkalend/", user},
      {dir / "usr/share/vesperkalend/../vesperkalend", user},
      {dir / "usr/share/vesperkalend-old", dir / "usr/share/vesperkalend-old"},
      {dir / "locked", root ? dir / "locked" : user},
  };
  for (const auto& c : logs) EXPECT_EQ(EventLogFolder(c.data), c.want) << c.data;
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir / "usr/share/vesperkalend");
  EXPECT_EQ(EventLogFolder("."), user);
  std::filesystem::current_path(cwd);
  ::chmod((dir / "locked").c_str(), 0755);
  setenv("HOME", home.c_str(), 1);
  if (xdg.empty()) unsetenv("XDG_DATA_HOME"); else setenv("XDG_DATA_HOME", xdg.c_str(), 1);
}

}  // namespace
}  // namespace vk
