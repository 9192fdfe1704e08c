#include "pictures/jpeg_io.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_util.h"
#include "base/error.h"

namespace vk {
namespace {

void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(Jpeg, DecodesToFullSizeInBlueGreenRedOrder) {
  test::TempDir dir;
  SaveJpeg(test::Filled(33, 17, 0, 0, 255), dir / "red.jpg", 95);  // pure red
  Bitmap24 img;
  ASSERT_TRUE(Load_JPEG_To_Image(dir / "red.jpg", img));
  EXPECT_EQ(img.width, 33);
  EXPECT_EQ(img.height, 17);
  const std::uint8_t* p = img.pixel(16, 8);
  EXPECT_LE(p[0], 4) << "blue";
  EXPECT_LE(p[1], 4) << "green";
  EXPECT_GE(p[2], 250) << "red";
}

TEST(Jpeg, ACorruptFileClearsThePicture) {
  test::TempDir dir;
  WriteBytes(dir / "moon_000.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
  Bitmap24 img = test::Filled(8, 8, 1, 2, 3);
  EXPECT_FALSE(Load_JPEG_To_Image(dir / "moon_000.jpg", img));
  EXPECT_TRUE(img.empty());
  EXPECT_EQ(img.width, 0);
  EXPECT_EQ(img.height, 0);
  EXPECT_TRUE(img.bytes.empty());
}

TEST(Jpeg, ATruncatedFileClearsThePicture) {
  Bitmap24 pattern = test::Filled(64, 64, 0, 0, 0);
  for (std::size_t i = 0; i < pattern.bytes.size(); ++i) pattern.bytes[i] = static_cast<std::uint8_t>(i * 31);
  std::vector<std::uint8_t> data = EncodeJpeg(pattern, 90);
  data.resize(data.size() / 2);
  test::TempDir dir;
  WriteBytes(dir / "half.jpg", data);
  Bitmap24 img = test::Filled(8, 8, 1, 2, 3);
  EXPECT_FALSE(Load_JPEG_To_Image(dir / "half.jpg", img));
  EXPECT_TRUE(img.empty());
}

TEST(Jpeg, AnEmptyFileClearsThePicture) {
  test::TempDir dir;
  WriteBytes(dir / "empty.jpg", {});
  Bitmap24 img = test::Filled(8, 8, 1, 2, 3);
  EXPECT_FALSE(Load_JPEG_To_Image(dir / "empty.jpg", img));
  EXPECT_TRUE(img.empty());
}

TEST(Jpeg, AMissingFileSaysFileNotFoundAndKeepsThePicture) {
  test::TempDir dir;
  Bitmap24 img = test::Filled(8, 8, 1, 2, 3);
  try {
    Load_JPEG_To_Image(dir / "moon_070.jpg", img);
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kFileNotFound);
    EXPECT_NE(e.file().find("moon_070.jpg"), std::string::npos);
  }
  EXPECT_EQ(img.width, 8);
}

}  // namespace
}  // namespace vk
