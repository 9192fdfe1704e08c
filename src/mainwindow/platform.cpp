#include "mainwindow/platform.h"


#include <QMimeDatabase>
#include <QStandardPaths>
#include <chrono>
#include <thread>

#include "base/error.h"
#include "base/platform.h"
#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"
#include "events/phase_table.h"
#include "pictures/image_list.h"

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
  return {location(QStandardPaths::GenericConfigLocation), location(QStandardPaths::DocumentsLocation), UserDataDir()};
}

std::vector<std::filesystem::path> DataFolderCandidates(const std::filesystem::path& executable) {
  const std::filesystem::path bin = executable.parent_path();
  std::vector<std::filesystem::path> dirs = {bin / ".." / "data", bin / ".." / "share" / "vesperkalend",
                                             std::filesystem::current_path()};
  for (auto& d : dirs) {
    std::error_code ec;
    const auto c = std::filesystem::weakly_canonical(d, ec);
    if (!ec) d = c;
  }
  return dirs;
}

DataFolderSearch FindDataFolder(const std::vector<std::filesystem::path>& candidates) {
  std::vector<std::string> files;
  for (int b = 0; b < kBodyCount; ++b) files.push_back(BinaryFileName(b));
  files.emplace_back(kPhaseFileName);
  std::size_t best_count = 0;
  std::string best_missing = files.front();
  for (const auto& dir : candidates) {
    std::size_t present = 0;
    std::string first_missing;
    for (const std::string& f : files) {
      std::error_code ec;
      if (std::filesystem::is_regular_file(dir / f, ec))
        ++present;
      else if (first_missing.empty())
        first_missing = f;
    }
    if (first_missing.empty()) return {dir, {}};
    // The coefficients alone: every period's tables are made from them.
    std::error_code ec;
    if (std::filesystem::is_regular_file(dir / kCoefficientFileName, ec) &&
        std::filesystem::is_regular_file(dir / kConstellationFileName, ec))
      return {dir, {}};
    if (present > best_count) {
      best_count = present;
      best_missing = first_missing;
    }
  }
  std::string where;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (i > 0) where += i + 1 == candidates.size() ? " or " : ", ";
    where += candidates[i].string();
  }
  return {std::nullopt, best_missing + ": " + kFileNotFound + " in " + where};
}

QIcon Program_Icon(const std::filesystem::path& executable) {
  QIcon icon = QIcon::fromTheme(QString::fromUtf8(kIconName));
  if (!icon.isNull()) return icon;
  const std::filesystem::path hicolor = executable.parent_path().parent_path() / "share" / "icons" / "hicolor";
  for (const int size : {48, 64, 128, 256}) {
    const std::string dim = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path png = hicolor / dim / "apps" / (std::string(kIconName) + ".png");
    std::error_code ec;
    if (!executable.empty() && std::filesystem::is_regular_file(png, ec)) icon.addFile(QString::fromStdString(png.string()));
  }
  if (!icon.isNull()) return icon;
  try {
    return QIcon(QPixmap::fromImage(ProgramEmblem()));  // the about box's emblem, built in
  } catch (const Error&) {
    return icon;  // a build without the picture resources
  }
}

std::optional<std::string> FileTypeName(const std::string& path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path));
  if (!type.isValid() || type.comment().isEmpty()) return std::nullopt;
  return type.comment().toStdString();
}

}  // namespace vk
