// The window's platform layer: the wrapping tick counter, the wait, the data
// folder, the program's icon.
#include <gtest/gtest.h>

#include <QIcon>
#include <chrono>

#include "events/phase_table.h"
#include "ephemeris/ephemeris_data.h"
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

// The ten files the data folder must hold, into `dir`; `skip` leaves one out.
void PutDataFiles(const std::filesystem::path& dir, const std::string& skip = {}) {
  std::filesystem::create_directories(dir);
  for (int b = 0; b < kBodyCount; ++b)
    if (BinaryFileName(b) != skip) test::WriteFile(dir / BinaryFileName(b), "x");
  if (skip != kPhaseFileName) test::WriteFile(dir / kPhaseFileName, "x");
}

TEST(Platform, DataFolderIsTheFirstCompleteOneOrTheMissingFileIsNamed) {
  test::TempDir dir;
  const auto candidates = DataFolderCandidates(dir / "bin" / "vesperkalend");
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0], std::filesystem::weakly_canonical(dir / "data"));
  EXPECT_EQ(candidates[1], std::filesystem::weakly_canonical(dir / "share" / "vesperkalend"));
  const std::vector<std::filesystem::path> three = {dir / "a", dir / "b", dir / "c"};

  PutDataFiles(dir / "b");
  EXPECT_EQ(FindDataFolder(three).folder, dir / "b");
  PutDataFiles(dir / "a", kPhaseFileName);  // all but the phase table: not taken
  EXPECT_EQ(FindDataFolder(three).folder, dir / "b");
  std::filesystem::remove_all(dir / "b");
  const DataFolderSearch missing = FindDataFolder(three);
  EXPECT_FALSE(missing.folder);
  EXPECT_EQ(missing.problem, std::string(kPhaseFileName) + ": File not found in " + (dir / "a").string() + ", " +
                                 (dir / "b").string() + " or " + (dir / "c").string());
  std::filesystem::remove_all(dir / "a");
  EXPECT_EQ(FindDataFolder(three).problem.substr(0, 32), "HORIZONS_daten_2022-2032_SUN.bin");
}

// The PNGs installed beside the program, else the emblem built in; never null.
TEST(Platform, ProgramIconFromTheInstalledFilesElseBuiltIn) {
  if (!QIcon::fromTheme(kIconName).isNull()) GTEST_SKIP() << "the icon theme has the icon";
  test::TempDir dir;
  const std::filesystem::path apps = dir / "share/icons/hicolor/48x48/apps";
  std::filesystem::create_directories(apps);
  QImage png(48, 48, QImage::Format_ARGB32);
  png.fill(Qt::red);
  ASSERT_TRUE(png.save(QString::fromStdString((apps / (std::string(kIconName) + ".png")).string())));
  const struct {
    std::filesystem::path executable;
    QSize size;  // the one size the icon has
    bool red;    // the installed PNG
  } cases[] = {
      {dir / "bin" / "vesperkalend", QSize(48, 48), true},
      {dir / "deeper" / "bin" / "vesperkalend", QSize(64, 64), false},
      {{}, QSize(64, 64), false},
  };
  for (const auto& c : cases) {
    const QIcon icon = Program_Icon(c.executable);
    ASSERT_FALSE(icon.isNull()) << c.executable;
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{c.size}) << c.executable;
    EXPECT_EQ(icon.pixmap(c.size).toImage().pixel(c.size.width() / 2, c.size.height() / 2) == QColor(Qt::red).rgb(),
              c.red)
        << c.executable;
  }
}

}  // namespace
}  // namespace vk
