// The settings file "Vesperkalend.ini": a packed 39-byte binary record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vk {

#pragma pack(push, 1)
struct SettingsRecord {
  std::uint8_t version_length = 0;  // 0 … 16
  char version[16] = {};            // program version, cut to 16 characters
  std::uint8_t reserved17 = 0;      // written as 0
  std::int32_t zone = 16;           // row of the zone table
  std::uint8_t reserved22 = 0;      // 0 when defaults are made, else kept
  double latitude = 47.5;           // degrees, north positive
  double longitude = 7.5;           // degrees, east positive
};
#pragma pack(pop)
static_assert(sizeof(SettingsRecord) == 39);
static_assert(offsetof(SettingsRecord, zone) == 18);
static_assert(offsetof(SettingsRecord, latitude) == 23);
static_assert(offsetof(SettingsRecord, longitude) == 31);

inline constexpr const char* kSettingsFileName = "Vesperkalend.ini";

// Defaults: `version` cut to 16 characters, zone 16, 47.5° N, 7.5° E, reserved bytes 0.
SettingsRecord DefaultSettings(std::string_view version);
void SetSettingsVersion(SettingsRecord& rec, std::string_view version);
// The stored version: the characters counted by the length byte (at most 16).
std::string SettingsVersion(const SettingsRecord& rec);

// Reads up to 39 bytes of `path` over `rec`; a shorter file leaves the rest of
// `rec` as it was, a longer one is read no further. Returns: false when the
// file does not exist.
// Throws: Error (the file named) when it is not a regular file (ReadFileStart)
// or cannot be read.
bool ReadSettingsFile(const std::filesystem::path& path, SettingsRecord& rec);

// Writes the 39 bytes under a temporary name, synced and renamed over `path`.
// Throws: Error with the system's text; the old file then stays.
void WriteSettingsFile(const std::filesystem::path& path, const SettingsRecord& rec);

}  // namespace vk
