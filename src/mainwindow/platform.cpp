#include "mainwindow/platform.h"

#include <unistd.h>

#include <QMimeDatabase>
#include <QStandardPaths>
#include <chrono>
#include <thread>

#include "events/phase_table.h"

namespace vk {

std::uint32_t Ticks_Passed(std::uint32_t start, std::uint32_t now) { return now - start; }

std::int64_t Wait_ms(std::int64_t ms) {
  // A 32-bit millisecond counter, as a tick counter is; the difference modulo
  // 2^32 stays right across a wrap.
  auto ticks = [] {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  };
  const std::uint32_t start = ticks();
  std::uint32_t passed = 0;
  while ((passed = Ticks_Passed(start, ticks())) < ms) std::this_thread::yield();
  return passed;
}

UserFolders DefaultUserFolders() {
  auto location = [](QStandardPaths::StandardLocation l) {
    return std::filesystem::path(QStandardPaths::writableLocation(l).toStdString()) / "Vesperkalend";
  };
  return {location(QStandardPaths::GenericConfigLocation), location(QStandardPaths::DocumentsLocation),
          location(QStandardPaths::GenericDataLocation)};
}

std::optional<std::filesystem::path> FindDataFolder(const std::filesystem::path& executable) {
  const std::filesystem::path bin = executable.parent_path();
  for (const auto& dir : {bin / ".." / "data", bin / ".." / "share" / "vesperkalend", std::filesystem::current_path()}) {
    std::error_code ec;
    if (std::filesystem::exists(dir / kPhaseFileName, ec)) return std::filesystem::weakly_canonical(dir, ec);
  }
  return std::nullopt;
}

bool FolderWritable(const std::filesystem::path& dir) { return ::access(dir.c_str(), W_OK) == 0; }

std::optional<std::string> FileTypeName(const std::string& path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path));
  if (!type.isValid() || type.comment().isEmpty()) return std::nullopt;
  return type.comment().toStdString();
}

}  // namespace vk
