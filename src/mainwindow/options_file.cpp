#include "mainwindow/options_file.h"

#include <unistd.h>

#include <QSettings>
#include <QString>
#include <system_error>

#include "base/atomic_file.h"
#include "base/error.h"

namespace vk {
namespace {

constexpr const char* kPreciseKey = "View/PreciseInstants";

QString Native(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

std::map<std::string, std::string> ReadOptionValues(const std::filesystem::path& path,
                                                    const std::vector<std::string>& keys) {
  std::map<std::string, std::string> values;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return values;
  const QSettings ini(Native(path), QSettings::IniFormat);
  if (ini.status() != QSettings::NoError) return values;
  for (const std::string& key : keys) {
    const QVariant v = ini.value(QString::fromStdString(key));
    if (v.isValid()) values[key] = v.toString().toStdString();
  }
  return values;
}

void WriteOptionValues(const std::filesystem::path& path,
                       const std::vector<std::pair<std::string, std::string>>& values) {
  std::filesystem::path temp = path;
  temp += std::string(kTemporaryMark) + std::to_string(::getpid()) + ".ini";
  std::error_code ec;
  std::filesystem::remove(temp, ec);
  // Other keys of a readable file are kept; an unreadable or malformed one is replaced.
  if (std::filesystem::is_regular_file(path, ec) && std::filesystem::copy_file(path, temp, ec)) {
    const QSettings copy(Native(temp), QSettings::IniFormat);
    if (copy.status() != QSettings::NoError) std::filesystem::remove(temp, ec);
  }
  {
    QSettings ini(Native(temp), QSettings::IniFormat);
    for (const auto& [key, value] : values) ini.setValue(QString::fromStdString(key), QString::fromStdString(value));
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

WindowOptions ReadOptionsFile(const std::filesystem::path& path) {
  WindowOptions o;
  const auto values = ReadOptionValues(path, {kPreciseKey});
  if (const auto it = values.find(kPreciseKey); it != values.end()) {
    const QString precise = QString::fromStdString(it->second).trimmed().toLower();
    if (precise == "true") o.precise_instants = true;
    if (precise == "false") o.precise_instants = false;
  }
  return o;
}

void WriteOptionsFile(const std::filesystem::path& path, const WindowOptions& options) {
  WriteOptionValues(path, {{kPreciseKey, options.precise_instants ? "true" : "false"}});
}

}  // namespace vk
