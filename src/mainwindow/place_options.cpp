#include "mainwindow/place_options.h"

#include <QSettings>

#include "base/error.h"

namespace vk {
namespace {

constexpr const char* kPlaceKey = "Ort/Name";
constexpr const char* kZoneKey = "Ort/Zeitzone";

QString Path(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

PlaceOptions ReadPlaceOptions(const std::filesystem::path& ini) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(ini, ec)) return {};
  const QSettings s(Path(ini), QSettings::IniFormat);
  if (s.status() != QSettings::NoError) return {};
  return {s.value(kPlaceKey).toString().toStdString(), s.value(kZoneKey).toString().toStdString()};
}

void WritePlaceOptions(const std::filesystem::path& ini, const PlaceOptions& options) {
  std::filesystem::path temp = ini;
  temp += ".tmp";
  std::error_code ec;
  std::filesystem::remove(temp, ec);
  if (std::filesystem::is_regular_file(ini, ec)) std::filesystem::copy_file(ini, temp, ec);
  {
    QSettings s(Path(temp), QSettings::IniFormat);
    s.setValue(kPlaceKey, QString::fromStdString(options.place));
    s.setValue(kZoneKey, QString::fromStdString(options.zone));
    s.sync();
    if (s.status() != QSettings::NoError) {
      std::filesystem::remove(temp, ec);
      throw Error("Cannot write the options file", ini.string());
    }
  }
  std::filesystem::rename(temp, ini, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw Error("Cannot write the options file", ini.string());
  }
}

}  // namespace vk
