#include "mainwindow/options_file.h"

#include <QSettings>
#include <QString>
#include <system_error>

#include "base/error.h"

namespace vk {
namespace {

constexpr const char* kPreciseKey = "View/PreciseInstants";

QString Native(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

WindowOptions ReadOptionsFile(const std::filesystem::path& path) {
  WindowOptions o;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return o;
  QSettings ini(Native(path), QSettings::IniFormat);
  if (ini.status() != QSettings::NoError) return o;
  const QString precise = ini.value(kPreciseKey).toString().trimmed().toLower();
  if (precise == "true") o.precise_instants = true;
  if (precise == "false") o.precise_instants = false;
  return o;
}

void WriteOptionsFile(const std::filesystem::path& path, const WindowOptions& options) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  std::error_code ec;
  std::filesystem::remove(temp, ec);
  // Other keys of a readable file are kept; an unreadable or malformed one is replaced.
  if (std::filesystem::is_regular_file(path, ec) && std::filesystem::copy_file(path, temp, ec)) {
    const QSettings copy(Native(temp), QSettings::IniFormat);
    if (copy.status() != QSettings::NoError) std::filesystem::remove(temp, ec);
  }
  {
    QSettings ini(Native(temp), QSettings::IniFormat);
    ini.setValue(kPreciseKey, options.precise_instants);
    ini.sync();
    if (ini.status() != QSettings::NoError) {
      std::filesystem::remove(temp, ec);
      throw Error("Cannot write the options file", path.string());
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    const std::string text = ec.message();
    std::filesystem::remove(temp, ec);
    throw Error(text, path.string());
  }
}

}  // namespace vk
