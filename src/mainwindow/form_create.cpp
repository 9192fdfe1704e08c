// Start-up: version, folders, settings, zones, site, today, the first computation.
#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <iostream>

#include "base/atomic_file.h"
#include "timecalc/time_zones.h"
#include "programfiles/version_info.h"
#include "mainwindow/form_main.h"
#include "mainwindow/options_file.h"
#include "base/error.h"
#include "timecalc/calendar.h"

namespace vk {

void TForm_Main::FormCreate() {
  // Version grid and caption.
  const TFileVersionInfo info = Read_Version_Info(options_.executable, FileTypeName);
  const auto rows = VersionGridRows(info);
  static_cast<void>(QT_TRANSLATE_NOOP("VersionInfo", "Vesperkalend – Himmelskalender"));  // the FileDescription
  for (int r = 0; r < 17; ++r) {
    StringGrid_VersionsInfo->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(rows[r].first)));
    // A value the version block holds in German is shown translated; every other stays as read.
    StringGrid_VersionsInfo->setItem(r, 1, new QTableWidgetItem(QCoreApplication::translate("VersionInfo", rows[r].second.c_str())));
  }
  setWindowTitle("Vesperkalend " + QString::fromStdString(rows[3].second));

  // Folders; a failure here shows up when the files are written.
  std::error_code ec;
  std::filesystem::create_directories(options_.folders.screendump_dir, ec);
  std::filesystem::create_directories(options_.folders.settings_dir, ec);
  // Half-written files of an earlier run that was killed.
  RemoveStaleTemporaries(options_.folders.screendump_dir);
  RemoveStaleTemporaries(options_.folders.settings_dir);

  current_version = info.FileVersion.substr(0, 16);
  settings_path = options_.folders.settings_dir / kSettingsFileName;
  std::memset(static_cast<void*>(&settings), 0, sizeof settings);
  if (ReadSettingsFile(settings_path, settings)) {
    const std::string stored = SettingsVersion(settings);
    if (stored != current_version) {
      Show_Message(QCoreApplication::translate("Window", "Parameter der Vorgängerversion %1 werden gelöscht")
                       .arg(QString::fromStdString(stored)),
                   QCoreApplication::translate(
                       "Window", "Das Programm wird gleich beendet werden.\n\rBitte starten Sie Vesperkalend erneut."));
      std::filesystem::remove(settings_path, ec);
      end_requested_ = true;
    }
  } else {
    settings = DefaultSettings(current_version);
    std::filesystem::create_directories(options_.folders.settings_dir, ec);
    WriteSettingsFile(settings_path, settings);
  }

  // A site that cannot be (a latitude of 1000, NaN) falls back to the first
  // start's; the file is rewritten at close as usual.
  const SettingsRecord defaults = DefaultSettings(current_version);
  const double stored_lat = settings.latitude, stored_lon = settings.longitude;
  if (!std::isfinite(stored_lat) || std::fabs(stored_lat) > 90 || !std::isfinite(stored_lon) ||
      std::fabs(stored_lon) > 180) {
    std::cerr << "Vesperkalend: stored site " << stored_lat << ", " << stored_lon << " is no place on Earth; using "
              << defaults.latitude << ", " << defaults.longitude << "\n";
    settings.latitude = defaults.latitude;
    settings.longitude = defaults.longitude;
  }

  // Zones; a stored row outside the table falls back to UTC+01:00.
  // The stored row is copied out of the packed record before use.
  const int stored_zone = settings.zone;
  zone_index = stored_zone >= 0 && stored_zone < kZoneCount ? stored_zone : kDefaultZone;
  Fill_Zone_List();

  Site site;
  site.Site_nLat = settings.latitude;
  site.Site_eLon = settings.longitude;
  site.Site_TZ_Hours = TimeZones[static_cast<std::size_t>(zone_index)].offset_hours;
  // The real zone from the options file; the place list is read after the
  // first chart. A first start takes the place of the system's zone from the
  // zone table alone.
  const std::string kept_place = Restore_Zone_Option(site);
  const std::string first_start_zone =
      First_Start_Place(site, settings.latitude == defaults.latitude && settings.longitude == defaults.longitude &&
                                  zone_index == kDefaultZone);
  session_->Set_Site(site);
  Show_Site();
  Show_Zone();
  // The check boxes as last chosen; never chosen, as documented.
  const WindowOptions view = ReadOptionsFile(Options_Path());
  CheckBox_Daemmerungen->setChecked(view.twilights.value_or(CheckBox_Daemmerungen->isChecked()));
  CheckBox_Auf_Untergaenge->setChecked(view.rises.value_or(CheckBox_Auf_Untergaenge->isChecked()));
  CheckBox_Meridian->setChecked(view.transits.value_or(CheckBox_Meridian->isChecked()));
  session_->Set_Flags({CheckBox_Daemmerungen->isChecked(), CheckBox_Auf_Untergaenge->isChecked(),
                       CheckBox_Meridian->isChecked()});

  // The chosen day is set before the computation, so that a failing
  // computation still leaves a day to show and to step from.
  const QDate today = options_.today();
  session_->Set_Day(CalendarToJD(today.year(), today.month(), today.day(), 0, 0, 0));
  // The kept place is shown by its name as kept until the list is read.
  place_ = kept_place;
  place_to_name_ = PlaceToName{kept_place, first_start_zone};
  Show_Place();
  if (!options_.data_error.empty()) {
    Fill_Place_Box();
    throw Error(options_.data_error);
  }
  Load_View_Options();
  session_->Recompute();  // the chart follows when the table is in force; then places_error_ is shown
  // The list (7,000 places) is read after the first chart, or when that
  // takes longer than a moment (tables of a period being made).
  ComboBox_Ort->setEnabled(false);
  QTimer::singleShot(250, this, [this] { Guarded([&] { Fill_Place_Box(); }); });
  // A refused coefficient file leaves the documented decade; why is told after the first computation.
  if (!session_->Span_Error().isEmpty())
    places_error_ = session_->Span_Error().toStdString() + (places_error_.empty() ? "" : "; " + places_error_);
}

void TForm_Main::Fill_Zone_List() {
  const QSignalBlocker block(ComboBox_TZone);
  ComboBox_TZone->clear();
  for (int z = 0; z < kZoneCount; ++z) {
    const std::string_view t = ZoneListText(z);
    ComboBox_TZone->addItem(QString::fromUtf8(t.data(), static_cast<int>(t.size())));
  }
  ComboBox_TZone->setCurrentIndex(zone_index);
}

void TForm_Main::Show_Site() {
  Edit_nLat->setText(Site_Text(session_->Site_Asked().Site_nLat));
  Edit_eLon->setText(Site_Text(session_->Site_Asked().Site_eLon));
}

void TForm_Main::SaveSettings() {
  if (!std::filesystem::exists(settings_path)) return;
  SetSettingsVersion(settings, current_version);
  settings.reserved17 = 0;
  settings.zone = zone_index;
  // The site asked for last, even when its computation has not ended.
  settings.latitude = session_->Site_Asked().Site_nLat;
  settings.longitude = session_->Site_Asked().Site_eLon;
  WriteSettingsFile(settings_path, settings);
  Save_Place_Options();
}

}  // namespace vk
