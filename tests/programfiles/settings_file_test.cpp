#include "programfiles/settings_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/guarded.h"
#include "support/temp_dir.h"
#include "base/error.h"

namespace vk {
namespace {

TEST(SettingsFile, DefaultsHaveTheExactBytes) {
  test::TempDir dir;
  WriteSettingsFile(dir / kSettingsFileName, DefaultSettings("1.0.0"));
  const std::string bytes = test::ReadFile(dir / kSettingsFileName);
  ASSERT_EQ(bytes.size(), 39u);
  EXPECT_EQ(bytes[0], 5);
  EXPECT_EQ(bytes.substr(1, 5), "1.0.0");
  const unsigned char tail[] = {0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0xC0, 0x47, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1E, 0x40};
  for (std::size_t i = 0; i < sizeof tail; ++i)
    EXPECT_EQ(static_cast<unsigned char>(bytes[17 + i]), tail[i]) << "byte " << 17 + i;
}

TEST(SettingsFile, RoundTripAndVersionCut) {
  test::TempDir dir;
  SettingsRecord rec = DefaultSettings("12345678901234567890");
  EXPECT_EQ(SettingsVersion(rec), "1234567890123456");
  rec.zone = 39;
  rec.latitude = -33.25;
  rec.longitude = 151.5;
  WriteSettingsFile(dir / kSettingsFileName, rec);
  SettingsRecord back;
  ASSERT_TRUE(ReadSettingsFile(dir / kSettingsFileName, back));
  EXPECT_EQ(SettingsVersion(back), "1234567890123456");
  EXPECT_EQ(+back.zone, 39);
  EXPECT_EQ(+back.latitude, -33.25);
  EXPECT_EQ(+back.longitude, 151.5);
}

TEST(SettingsFile, ShortFileReadsTheBytesPresentAndKeepsTheRest) {
  test::TempDir dir;
  SettingsRecord full = DefaultSettings("1.0.0");
  full.zone = 20;
  std::string bytes(reinterpret_cast<const char*>(&full), 22);  // up to the zone
  test::WriteFile(dir / kSettingsFileName, bytes);
  SettingsRecord rec;  // previous contents
  rec.latitude = 10;
  rec.longitude = 20;
  ASSERT_TRUE(ReadSettingsFile(dir / kSettingsFileName, rec));
  EXPECT_EQ(SettingsVersion(rec), "1.0.0");
  EXPECT_EQ(+rec.zone, 20);
  EXPECT_EQ(+rec.latitude, 10);
  EXPECT_EQ(+rec.longitude, 20);
}

// A longer file is read as far as the record goes; a FIFO or a device under
// the settings file's name is refused at once, named, instead of waited on or
// read without end.
TEST(SettingsFile, LongAndSpecialFiles) {
  test::TempDir dir;
  const auto path = dir / kSettingsFileName;
  SettingsRecord full = DefaultSettings("2.0");
  full.zone = 7;
  const auto outcome = [&] {
    return test::Guarded([&]() -> std::string {
      SettingsRecord rec;
      try {
        ReadSettingsFile(path, rec);
        return "zone " + std::to_string(rec.zone);
      } catch (const Error& e) {
        return std::string(e.what()) + (e.file() == path.string() ? "" : " (file not named)");
      }
    });
  };
  test::WriteFile(path, std::string(reinterpret_cast<const char*>(&full), 39) + std::string(1 << 20, 'x'));
  EXPECT_EQ(outcome(), "zone 7");
  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  EXPECT_EQ(outcome(), "Not a regular file (a FIFO)");
  std::filesystem::remove(path);
  std::filesystem::create_symlink("/dev/zero", path);
  EXPECT_EQ(outcome(), "Not a regular file (a character device)");
}

TEST(SettingsFile, MissingFileAndUnwritableFolder) {
  test::TempDir dir;
  SettingsRecord rec;
  EXPECT_FALSE(ReadSettingsFile(dir / kSettingsFileName, rec));
  EXPECT_THROW(WriteSettingsFile(dir / "no-such-folder" / kSettingsFileName, rec), Error);
}

}  // namespace
}  // namespace vk
