// The shared helpers: parallel-for, BMP writer, line fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <stop_token>
#include <thread>
#include <vector>

#include "base/bmp_writer.h"
#include "base/line_fields.h"
#include "base/parallel_for.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

TEST(ParallelFor, RunsEveryTaskOnceForAnyThreadCount) {
  for (unsigned threads : {0u, 1u, 2u, 7u, 64u}) {
    std::vector<std::atomic<int>> runs(1000);
    ParallelFor(1000, threads, [&](int i) { ++runs[static_cast<std::size_t>(i)]; });
    for (std::size_t i = 0; i < runs.size(); ++i) ASSERT_EQ(runs[i], 1) << "task " << i << ", threads " << threads;
  }
  ParallelFor(0, 4, [](int) { FAIL() << "no task for count 0"; });
}

TEST(ParallelFor, RethrowsTheLowestFailingTaskAndStartsNoMore) {
  for (unsigned threads : {1u, 2u, 8u}) {
    std::atomic<int> started{0};
    std::atomic<bool> third_ran{false};
    try {
      ParallelFor(10000, threads, [&](int i) {
        ++started;
        if (i == 3) third_ran = true;
        if (i == 3 || i == 5) throw std::runtime_error("task " + std::to_string(i));
      });
      FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
      // Task 3 may not have started when task 5 failed first on another thread.
      EXPECT_STREQ(e.what(), third_ran ? "task 3" : "task 5") << "threads " << threads;
    }
    EXPECT_LT(started.load(), 10000) << "tasks after the failure were not started";
  }
}

// `started` hears of the tasks in increasing order, one call at a time and
// before each task runs; a stop requested by task or `started` i lets no task
// after the ones already handed out start; a throw of `started` counts as
// its task's, which then does not run.
TEST(ParallelFor, StartsAreToldInOrderAndAStopOrThrowEndsTheHandingOut) {
  const struct Case {
    const char* what;
    unsigned threads;
    int stop_in_task, stop_in_started, throw_in_started;  // at task i; -1: never
  } cases[] = {
      {"one thread, no stop", 1, -1, -1, -1}, {"eight threads, no stop", 8, -1, -1, -1},
      {"stop in a task", 1, 20, -1, -1},       {"stop in a task, 4 threads", 4, 20, -1, -1},
      {"stop in started", 4, -1, 20, -1},      {"started throws", 4, -1, -1, 20},
  };
  constexpr int kCount = 200;
  for (const Case& c : cases) {
    std::stop_source stop;
    std::vector<int> told_order(kCount, -1);
    std::atomic<int> told{0}, inside{0};
    std::vector<std::atomic<int>> ran(kCount);
    std::atomic<bool> overlapped{false}, ran_before_told{false};
    std::atomic<int> told_at_stop{-1};  // starts told just after the stop in a task
    bool threw = false;
    try {
      ParallelFor(
          kCount, c.threads,
          [&](int i) {
            if (told.load() <= i) ran_before_told = true;
            ++ran[static_cast<std::size_t>(i)];
            if (i == c.stop_in_task) {
              stop.request_stop();
              told_at_stop = told.load();
            }
          },
          stop.get_token(),
          [&](int i) {
            if (inside.fetch_add(1) != 0) overlapped = true;
            told_order[static_cast<std::size_t>(told.load())] = i;
            ++told;
            std::this_thread::yield();
            --inside;
            if (i == c.stop_in_started) stop.request_stop();
            if (i == c.throw_in_started) throw std::runtime_error("started " + std::to_string(i));
          });
    } catch (const std::runtime_error& e) {
      threw = true;
      EXPECT_STREQ(e.what(), "started 20") << c.what;
    }
    EXPECT_EQ(threw, c.throw_in_started >= 0) << c.what;
    EXPECT_FALSE(overlapped) << c.what;
    EXPECT_FALSE(ran_before_told) << c.what;
    for (int k = 0; k < told.load(); ++k) ASSERT_EQ(told_order[static_cast<std::size_t>(k)], k) << c.what;
    const int last = std::max({c.stop_in_task, c.stop_in_started, c.throw_in_started});
    // A stop or throw in `started` ends the handing out at once. A stop in a
    // task comes while other threads may still take tasks; after it, at most
    // the one being handed out at that moment is told.
    const int bound = last < 0 ? kCount : c.stop_in_task >= 0 ? told_at_stop.load() + 1 : last + 1;
    EXPECT_LE(told.load(), bound) << c.what;
    if (last < 0 || c.threads == 1) {
      EXPECT_EQ(told.load(), last < 0 ? kCount : last + 1) << c.what;
    }
    for (int i = 0; i < kCount; ++i) {
      const bool should_run = i < told.load() && i != c.throw_in_started;
      ASSERT_EQ(ran[static_cast<std::size_t>(i)].load(), should_run ? 1 : 0) << c.what << ", task " << i;
    }
  }
}

// Little-endian fields of a BMP header, read independently of the writer.
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(BmpWriter, HeaderRowsAndPaddingAsTheFormatDefines) {
  // 3 x 2 pixels of 24 bits: 9 bytes a row, padded to 12; the top row is stored last.
  const std::uint8_t top[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::uint8_t bottom[9] = {11, 12, 13, 14, 15, 16, 17, 18, 19};
  const BmpLayout l{3, 2, 24, 3780};
  const auto bytes = EncodeBmp(l, [&](int y) { return static_cast<const void*>(y == 0 ? top : bottom); });
  ASSERT_EQ(bytes.size(), 54u + 24u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(U32(bytes, 2), 78u) << "file size";
  EXPECT_EQ(U32(bytes, 10), 54u) << "pixel offset";
  EXPECT_EQ(U32(bytes, 14), 40u) << "info header size";
  EXPECT_EQ(U32(bytes, 18), 3u);
  EXPECT_EQ(U32(bytes, 22), 2u) << "positive height: bottom-up";
  EXPECT_EQ(bytes[26] | bytes[27] << 8, 1) << "planes";
  EXPECT_EQ(bytes[28] | bytes[29] << 8, 24) << "bits";
  EXPECT_EQ(U32(bytes, 34), 24u) << "image size";
  EXPECT_EQ(U32(bytes, 38), 3780u);
  EXPECT_EQ(U32(bytes, 42), 3780u);
  const std::vector<std::uint8_t> pixels(bytes.begin() + 54, bytes.end());
  const std::vector<std::uint8_t> expected = {11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0,
                                              1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0};
  EXPECT_EQ(pixels, expected);

  // The file holds the same bytes as the encoding.
  test::TempDir dir;
  WriteBmp(dir / "a.bmp", l, [&](int y) { return static_cast<const void*>(y == 0 ? top : bottom); });
  std::ifstream in(dir / "a.bmp", std::ios::binary);
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(file, bytes);
}

TEST(TabFields, FieldsEmptyFieldsAndTheRest) {
  TabFields f("a\t\tb c\trest\twith tab");
  EXPECT_EQ(f.take(), "a");
  EXPECT_TRUE(f.empty_field());
  f.drop();
  EXPECT_EQ(f.peek(), "b c");
  EXPECT_FALSE(f.empty_field());
  f.drop();
  EXPECT_EQ(f.rest(), "rest\twith tab");
  f.drop(5);
  EXPECT_EQ(f.take(), "") << "past the end every field is empty";
}

TEST(Words, SkipBlanksOfEveryKindAndKnowWhereTheyStand) {
  Words text("  2459580.5\t1\r\n2 \rx\n");
  const struct {
    const char* word;
    const char* where;
  } rows[] = {{"2459580.5", ", line 1, column 3"}, {"1", ", line 1, column 13"}, {"2", ", line 2, column 1"},
              {"x", ", line 3, column 1"}, {"", ", line 4, column 1"}};
  for (const auto& r : rows) {
    EXPECT_EQ(text.next(), r.word);
    EXPECT_EQ(text.where(), r.where) << r.word;
  }
}

}  // namespace
}  // namespace vk
