#include "programfiles/settings_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "base/atomic_file.h"
#include "base/error.h"

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
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (!std::filesystem::exists(path)) return false;
    throw Error(std::strerror(errno != 0 ? errno : EACCES), path.string());
  }
  char bytes[sizeof(SettingsRecord)];
  in.read(bytes, sizeof bytes);
  if (in.bad()) throw Error("Read error", path.string());
  std::memcpy(&rec, bytes, static_cast<std::size_t>(in.gcount()));
  return true;
}

void WriteSettingsFile(const std::filesystem::path& path, const SettingsRecord& rec) {
  AtomicFile out(path);
  out.write(&rec, sizeof rec);
  out.commit(true);
}

}  // namespace vk
