#include "pictures/bmp_io.h"

#include <gtest/gtest.h>

#include "test_util.h"
#include "base/error.h"

namespace vk {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

// The header of every output size of the tools: N x N, 24 bits, no padding.
class BmpHeader : public ::testing::TestWithParam<int> {};

TEST_P(BmpHeader, IsA24BitBottomUpBitmapOfTheRightSize) {
  const int n = GetParam();
  const std::vector<std::uint8_t> d = EncodeBmp24(test::Filled(n, n, 1, 2, 3));
  const std::uint32_t image = static_cast<std::uint32_t>(n * n * 3);
  ASSERT_EQ(d.size(), 54u + image);
  EXPECT_EQ(d[0], 'B');
  EXPECT_EQ(d[1], 'M');
  EXPECT_EQ(U32(d, 2), d.size()) << "file size field";
  EXPECT_EQ(U32(d, 6), 0u) << "reserved";
  EXPECT_EQ(U32(d, 10), 54u) << "pixel data offset";
  EXPECT_EQ(U32(d, 14), 40u) << "BITMAPINFOHEADER size";
  EXPECT_EQ(U32(d, 18), static_cast<std::uint32_t>(n)) << "width";
  EXPECT_EQ(static_cast<std::int32_t>(U32(d, 22)), n) << "height: positive, rows bottom-up";
  EXPECT_EQ(U16(d, 26), 1) << "planes";
  EXPECT_EQ(U16(d, 28), 24) << "bits per pixel";
  EXPECT_EQ(U32(d, 30), 0u) << "BI_RGB";
  EXPECT_EQ(U32(d, 34), image) << "image size";
  EXPECT_EQ(U32(d, 46), 0u) << "palette entries";
  EXPECT_EQ(d[54], 1);
  EXPECT_EQ(d[55], 2);
  EXPECT_EQ(d[56], 3);
}

INSTANTIATE_TEST_SUITE_P(ToolSizes, BmpHeader, ::testing::Values(96, 48, 40));

TEST(BmpFile, SizesOfTheThreeToolOutputs) {
  EXPECT_EQ(EncodeBmp24(test::Filled(96, 96, 0, 0, 0)).size(), 27702u);
  EXPECT_EQ(EncodeBmp24(test::Filled(48, 48, 0, 0, 0)).size(), 6966u);
  EXPECT_EQ(EncodeBmp24(test::Filled(40, 40, 0, 0, 0)).size(), 4854u);
}

TEST(BmpFile, RowsAreStoredBottomUpAndPaddedToFourBytes) {
  // 5 x 2: 15 bytes per row, padded to 16.
  Bitmap24 b = test::Filled(5, 2, 0, 0, 0);
  b.pixel(0, 0)[2] = 0xAA;  // top-left, red byte
  b.pixel(4, 1)[0] = 0xBB;  // bottom-right, blue byte
  const std::vector<std::uint8_t> d = EncodeBmp24(b);
  ASSERT_EQ(d.size(), 54u + 2 * 16);
  EXPECT_EQ(U32(d, 34), 32u);
  // First stored row is the bottom one.
  EXPECT_EQ(d[54 + 4 * 3], 0xBB);
  EXPECT_EQ(d[54 + 15], 0) << "padding byte";
  EXPECT_EQ(d[54 + 16 + 2], 0xAA);
}

TEST(BmpFile, DecodeReadsWhatEncodeWrote) {
  Bitmap24 b = test::Filled(7, 3, 0, 0, 0);
  for (std::size_t i = 0; i < b.bytes.size(); ++i) b.bytes[i] = static_cast<std::uint8_t>(i * 7);
  const std::vector<std::uint8_t> d = EncodeBmp24(b);
  Bitmap24 back;
  ASSERT_TRUE(DecodeBmp24(d.data(), d.size(), back));
  EXPECT_EQ(back.width, 7);
  EXPECT_EQ(back.height, 3);
  EXPECT_EQ(back.bytes, b.bytes);
}

TEST(BmpFile, DecodeRejectsOtherFormats) {
  std::vector<std::uint8_t> d = EncodeBmp24(test::Filled(4, 4, 9, 9, 9));
  Bitmap24 out = test::Filled(1, 1, 1, 1, 1);
  std::vector<std::uint8_t> eight = d;
  eight[28] = 8;
  EXPECT_FALSE(DecodeBmp24(eight.data(), eight.size(), out));
  EXPECT_TRUE(out.empty());
  std::vector<std::uint8_t> short_data(d.begin(), d.end() - 1);
  EXPECT_FALSE(DecodeBmp24(short_data.data(), short_data.size(), out));
  EXPECT_FALSE(DecodeBmp24("GIF89a", 6, out));
}

TEST(BmpFile, SaveReplacesTheFileAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const auto file = dir / "Mond_07.bmp";
  SaveBmp24(test::Filled(96, 96, 1, 1, 1), file);
  SaveBmp24(test::Filled(40, 40, 2, 2, 2), file);
  EXPECT_EQ(std::filesystem::file_size(file), 4854u);
  EXPECT_EQ(dir.files(), std::vector<std::string>{"Mond_07.bmp"});
  const Bitmap24 back = LoadBmp24(file);
  EXPECT_EQ(back.width, 40);
  EXPECT_EQ(back.pixel(0, 0)[0], 2);
}

TEST(BmpFile, SaveIntoAMissingFolderFailsWithTheFileName) {
  test::TempDir dir;
  try {
    SaveBmp24(test::Filled(2, 2, 0, 0, 0), dir / "no_such_folder" / "x.bmp");
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_NE(e.file().find("x.bmp"), std::string::npos) << e.describe();
  }
}

TEST(BmpFile, LoadOfAMissingFileSaysFileNotFound) {
  test::TempDir dir;
  try {
    LoadBmp24(dir / "Mond_00.bmp");
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kFileNotFound);
  }
}

}  // namespace
}  // namespace vk
