#include "ephemeris/ephemeris_store.h"

#include <gtest/gtest.h>

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

TEST(LoadEphemeris, LoadsAllRowsAndIgnoresExtraRecords) {
  test::TempDir dir;
  WriteAll(dir, 1);
  WriteBinary(dir / BinaryFileName(Saturn), Saturn, kEphemerisRows + 10, 1);
  EphemerisStore store;
  LoadEphemeris(store, dir.path());
  for (int b = 0; b < kBodyCount; ++b) {
    EXPECT_EQ(+store.at(b, 1).jd, 1e6 + b * 1e5 + 1) << BodyNames[b];
    EXPECT_EQ(+store.at(b, kEphemerisRows).jd, 1e6 + b * 1e5 + kEphemerisRows) << BodyNames[b];
    EXPECT_EQ(store.at(b, 5).label.view(), "Sgr");
  }
}

TEST(LoadEphemeris, FileOneByteShortFailsAndKeepsThatBodysRows) {
  test::TempDir dir;
  WriteAll(dir, 1);
  EphemerisStore store;
  LoadEphemeris(store, dir.path());
  WriteAll(dir, 2);
  std::filesystem::resize_file(dir / BinaryFileName(Mars), 11569932 - 1);
  try {
    LoadEphemeris(store, dir.path());
    FAIL() << "a short file must fail";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Read beyond end of file");
    EXPECT_EQ(e.file(), (dir / BinaryFileName(Mars)).string());
  }
  for (int b = 0; b < Mars; ++b) EXPECT_EQ(+store.at(b, 100).jd, 2e6 + b * 1e5 + 100) << BodyNames[b] << " is new";
  for (int b = Mars; b < kBodyCount; ++b)
    EXPECT_EQ(+store.at(b, 100).jd, 1e6 + b * 1e5 + 100) << BodyNames[b] << " keeps its rows";
}

TEST(LoadEphemeris, MissingFilePartWayStopsThere) {
  test::TempDir dir;
  WriteAll(dir, 2);
  std::filesystem::remove(dir / BinaryFileName(Jupiter));
  EphemerisStore store;
  try {
    LoadEphemeris(store, dir.path());
    FAIL() << "a missing file must fail";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "File not found");
    EXPECT_EQ(e.file(), (dir / BinaryFileName(Jupiter)).string());
  }
  EXPECT_EQ(+store.at(Mars, 1).jd, 2e6 + int{Mars} * 1e5 + 1);
  EXPECT_EQ(+store.at(Jupiter, 1).jd, 0.0);
  EXPECT_EQ(+store.at(Neptune, 1).jd, 0.0);
}

}  // namespace
}  // namespace vk
