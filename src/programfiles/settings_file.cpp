#include "programfiles/settings_file.h"

#include <cerrno>
#include <cstring>

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/whole_file.h"

namespace vk {

void SetSettingsVersion(SettingsRecord& rec, std::string_view version) {
  const std::size_t n = std::min<std::size_t>(version.size(), sizeof rec.version);
  rec.version_length = static_cast<std::uint8_t>(n);
  std::memset(rec.version, 0, sizeof rec.version);
  std::memcpy(rec.version, version.data(), n);
}

SettingsRecord DefaultSettings(std::string_view version) {
  SettingsRecord rec;
  SetSettingsVersion(rec, version);
  return rec;
}

std::string SettingsVersion(const SettingsRecord& rec) {
  return std::string(rec.version, std::min<std::size_t>(rec.version_length, sizeof rec.version));
}

bool ReadSettingsFile(const std::filesystem::path& path, SettingsRecord& rec) {
  std::string bytes;
  try {
    bytes = ReadFileStart(path, sizeof(SettingsRecord));
  } catch (const Error& e) {
    if (std::string_view(e.what()) == kFileNotFound) return false;
    throw;
  }
  std::memcpy(&rec, bytes.data(), bytes.size());
  return true;
}

void WriteSettingsFile(const std::filesystem::path& path, const SettingsRecord& rec) {
  AtomicFile out(path);
  out.write(&rec, sizeof rec);
  out.commit(true);
}

}  // namespace vk
