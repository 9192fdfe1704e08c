// The window's platform layer: the wrapping tick counter, the wait, the data folder.
#include <gtest/gtest.h>

#include <chrono>

#include "events/phase_table.h"
#include "mainwindow/platform.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

TEST(Platform, TicksPassedAcrossTheCounterWrap) {
  EXPECT_EQ(Ticks_Passed(100, 250), 150u);
  EXPECT_EQ(Ticks_Passed(0xFFFFFF00u, 0x40u), 0x140u);
  EXPECT_EQ(Ticks_Passed(0xFFFFFFFFu, 0u), 1u);
}

TEST(Platform, WaitLastsAtLeastItsTime) {
  const auto start = std::chrono::steady_clock::now();
  const auto passed = Wait_ms(30);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_GE(passed, 30);
  EXPECT_GE(ms.count(), 29);
  EXPECT_EQ(Wait_ms(0), 0);
}

TEST(Platform, DataFolderBesideTheProgram) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "bin");
  std::filesystem::create_directories(dir / "data");
  test::WriteFile(dir / "data" / kPhaseFileName, "x");
  const auto found = FindDataFolder(dir / "bin" / "vesperkalend");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, std::filesystem::canonical(dir / "data"));
  std::filesystem::remove(dir / "data" / kPhaseFileName);
  std::filesystem::create_directories(dir / "share" / "vesperkalend");
  test::WriteFile(dir / "share" / "vesperkalend" / kPhaseFileName, "x");
  EXPECT_EQ(*FindDataFolder(dir / "bin" / "vesperkalend"), std::filesystem::canonical(dir / "share" / "vesperkalend"));
  EXPECT_TRUE(FolderWritable(dir.path()));
}

}  // namespace
}  // namespace vk
