#include "ephemeris/ephemeris_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "support/temp_dir.h"
#include "base/error.h"

namespace vk {
namespace {

// A binary file of `rows` records whose JD marks body and row: generation·1e6 + body·1e5 + row.
void WriteBinary(const std::filesystem::path& path, int body, std::size_t rows, int generation) {
  std::vector<tEphemerisData> recs(rows);
  for (std::size_t i = 0; i < rows; ++i) {
    recs[i] = tEphemerisData{};
    recs[i].jd = generation * 1e6 + body * 1e5 + static_cast<double>(i + 1);
    recs[i].label = {3, {'S', 'g', 'r'}};
  }
  test::WriteFile(path, std::string(reinterpret_cast<const char*>(recs.data()), rows * sizeof(tEphemerisData)));
}

void WriteAll(const test::TempDir& dir, int generation) {
  for (int b = 0; b < kBodyCount; ++b) WriteBinary(dir / BinaryFileName(b), b, kEphemerisRows, generation);
}

TEST(EphemerisStore, RecordLayoutOnDisk) {
  EXPECT_EQ(sizeof(tEphemerisData) * kEphemerisRows, 11569932u);
  EXPECT_EQ(sizeof(tEphemerisData) * kEphemerisRows * kBodyCount, 104129388u);
  EXPECT_EQ(BinaryFileName(Moon), "HORIZONS_daten_2022-2032_MOO.bin");
  EXPECT_EQ(ExportFileName(Neptune), "_res/HORIZONS_daten_2022-2032_NEP.txt");
  EXPECT_EQ(BodyNames[Moon], "Mond");
  EXPECT_EQ(BodyNames[Neptune], "Neptun");
}

// The whole load, and the load a block at a time that hands each block on
// (counted per row in rows_loaded, row 0 unused) once every body's rows of
// it hold the newest generation written.
class Loading : public ::testing::TestWithParam<bool> {
 protected:
  void Load(EphemerisStore& store, const std::filesystem::path& dir) {
    if (!GetParam()) {
      LoadEphemeris(store, dir);
      std::fill(rows_loaded.begin() + 1, rows_loaded.end(), 1);
      return;
    }
    std::mutex m;
    LoadEphemerisBlocks(store, dir, 2, [&](int first, int last) {
      const std::lock_guard lock(m);
      for (int b = 0; b < kBodyCount; ++b)
        for (int k : {first, last})
          if (store.at(b, k).jd != generation * 1e6 + b * 1e5 + k) return;  // leaves the rows uncounted
      for (int k = first; k <= last; ++k) ++rows_loaded[static_cast<std::size_t>(k)];
    });
  }
  bool EachRowCounted(int times) const {
    return std::all_of(rows_loaded.begin() + 1, rows_loaded.end(), [&](int n) { return n == times; });
  }
  int generation = 2;
  std::vector<int> rows_loaded = std::vector<int>(kEphemerisRows + 1, 0);
};

TEST_P(Loading, LoadsAllRowsAndIgnoresExtraRecords) {
  test::TempDir dir;
  WriteAll(dir, 1);
  WriteBinary(dir / BinaryFileName(Saturn), Saturn, kEphemerisRows + 10, 1);
  generation = 1;
  EphemerisStore store;
  Load(store, dir.path());
  EXPECT_TRUE(EachRowCounted(1)) << "rows handed on once each, after their loading";
  for (int b = 0; b < kBodyCount; ++b) {
    EXPECT_EQ(+store.at(b, 1).jd, 1e6 + b * 1e5 + 1) << BodyNames[b];
    EXPECT_EQ(+store.at(b, kEphemerisRows).jd, 1e6 + b * 1e5 + kEphemerisRows) << BodyNames[b];
    EXPECT_EQ(store.at(b, 5).label.view(), "Sgr");
  }
}

TEST_P(Loading, FileOneByteShortFailsAndKeepsThatBodysRows) {
  test::TempDir dir;
  WriteAll(dir, 1);
  EphemerisStore store;
  LoadEphemeris(store, dir.path());
  WriteAll(dir, 2);
  std::filesystem::resize_file(dir / BinaryFileName(Mars), 11569932 - 1);
  try {
    Load(store, dir.path());
    FAIL() << "a short file must fail";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Read beyond end of file");
    EXPECT_EQ(e.file(), (dir / BinaryFileName(Mars)).string());
  }
  for (int b = 0; b < Mars; ++b) EXPECT_EQ(+store.at(b, 100).jd, 2e6 + b * 1e5 + 100) << BodyNames[b] << " is new";
  for (int b = Mars; b < kBodyCount; ++b)
    EXPECT_EQ(+store.at(b, 100).jd, 1e6 + b * 1e5 + 100) << BodyNames[b] << " keeps its rows";
  EXPECT_TRUE(EachRowCounted(0)) << "no row handed on";
}

TEST_P(Loading, MissingFilePartWayStopsThere) {
  test::TempDir dir;
  WriteAll(dir, 2);
  std::filesystem::remove(dir / BinaryFileName(Jupiter));
  EphemerisStore store;
  try {
    Load(store, dir.path());
    FAIL() << "a missing file must fail";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "File not found");
    EXPECT_EQ(e.file(), (dir / BinaryFileName(Jupiter)).string());
  }
  EXPECT_EQ(+store.at(Mars, 1).jd, 2e6 + int{Mars} * 1e5 + 1);
  EXPECT_EQ(+store.at(Jupiter, 1).jd, 0.0);
  EXPECT_EQ(+store.at(Neptune, 1).jd, 0.0);
  EXPECT_TRUE(EachRowCounted(0)) << "no row handed on";
}

INSTANTIATE_TEST_SUITE_P(WholeAndInBlocks, Loading, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "InBlocks" : "Whole"; });

}  // namespace
}  // namespace vk
