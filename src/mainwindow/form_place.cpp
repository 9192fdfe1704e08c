// The place box: places of the tz database completing as the user types, the
// real zone they bring, and their keeping in the options file.
#include <QCoreApplication>
#include <QComboBox>
#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <iostream>

#include "base/error.h"
#include "mainwindow/form_main.h"
#include "mainwindow/place_options.h"
#include "timecalc/zone_file.h"

namespace vk {
namespace {

QString Own_Coordinates_Text() { return QCoreApplication::translate("Window", "eigene Koordinaten"); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void TForm_Main::Connect_Place_Box() {
  // The completer lists the places whose name holds the typed text anywhere,
  // ignoring case and accents; the list is refilled on every keystroke.
  Ort_Matches = new QStringListModel(this);
  Ort_Completer = new QCompleter(Ort_Matches, this);
  Ort_Completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  Ort_Completer->setMaxVisibleItems(12);
  ComboBox_Ort->setCompleter(Ort_Completer);
  connect(ComboBox_Ort->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) { Ort_Text_Edited(t); });
  connect(ComboBox_Ort, &QComboBox::activated, this, [this](int row) {
    Guarded([&] {
      if (row >= 0 && static_cast<std::size_t>(row) < places_.size()) Choose_Place(places_[static_cast<std::size_t>(row)]);
    });
  });
  connect(ComboBox_Ort->lineEdit(), &QLineEdit::returnPressed, this, [this] { Guarded([&] { Apply_Typed_Place(); }); });
}

void TForm_Main::Load_Places() {
  places_.clear();
  places_error_.clear();
  try {
    PlaceList list = ReadPlaces(ZoneInfoDir());
    for (const std::string& w : list.warnings) std::cerr << "Vesperkalend: " << w << "\n";
    places_ = std::move(list.places);
  } catch (const Error& e) {
    places_error_ = (std::string_view(e.what()) == kFileNotFound
                         ? QCoreApplication::translate("Window", "Keine Zeitzonen-Datenbank (%1): nur die 40 festen Zeitzonen")
                         : QCoreApplication::translate("Window", "Zeitzonen-Tabelle unbrauchbar (%1): nur die 40 festen Zeitzonen"))
                        .arg(QString::fromStdString(e.describe()))
                        .toStdString();
  }
  const QSignalBlocker block(ComboBox_Ort);
  ComboBox_Ort->clear();
  for (const Place& p : places_) ComboBox_Ort->addItem(Q(p.display));
  ComboBox_Ort->setEnabled(!places_.empty());
  Show_Place();
}

void TForm_Main::Ort_Text_Edited(const QString& text) {
  QStringList shown;
  for (const Place* p : FindPlaces(places_, text.toStdString())) shown << Q(p->display);
  Ort_Matches->setStringList(shown);
  if (text.isEmpty() || shown.isEmpty())
    Ort_Completer->popup()->hide();
  else
    Ort_Completer->complete();
}

void TForm_Main::Apply_Typed_Place() {
  const std::string text = ComboBox_Ort->currentText().trimmed().toStdString();
  if (const Place* p = ChoosePlace(places_, text)) {
    Choose_Place(*p);
    return;
  }
  for (const Place& p : places_)
    if (p.display == text) return Choose_Place(p);
  Show_Place();
}

void TForm_Main::Choose_Place(const Place& p) {
  Site site = session_->Site_Asked();
  const bool same = place_ == p.display && site.Site_nLat == p.lat && site.Site_eLon == p.lon && site.Site_Zone &&
                    site.Site_Zone->name == p.zone;
  if (same) {
    Show_Place();
    return;
  }
  auto table = std::make_shared<const ZoneTable>(ReadZoneTable(ZoneInfoDir(), p.zone));
  place_ = p.display;
  site.Site_nLat = p.lat;
  site.Site_eLon = p.lon;
  site.Site_Zone = std::move(table);
  Ask_Site(site);
  Show_Site();
  Show_Place();
  Show_Zone();
}

void TForm_Main::Own_Coordinates() {
  place_.clear();
  Show_Place();
}

void TForm_Main::Show_Place() {
  const QSignalBlocker block(ComboBox_Ort);
  if (Ort_Completer->popup()) Ort_Completer->popup()->hide();
  const int row = place_.empty() ? -1 : ComboBox_Ort->findText(Q(place_), Qt::MatchExactly);
  ComboBox_Ort->setCurrentIndex(row);
  ComboBox_Ort->setEditText(place_.empty() ? Own_Coordinates_Text() : Q(place_));
  ComboBox_Ort->lineEdit()->setCursorPosition(0);
}

void TForm_Main::Show_Zone() {
  const QSignalBlocker block(ComboBox_TZone);
  if (const auto& zone = session_->Site_Asked().Site_Zone) {
    ComboBox_TZone->setCurrentIndex(-1);
    ComboBox_TZone->setEditText(Q(zone->name));
    ComboBox_TZone->lineEdit()->setCursorPosition(0);  // the region first when the name is too long
    ComboBox_TZone->setToolTip(Q(zone->name));
  } else {
    ComboBox_TZone->setCurrentIndex(zone_index);
    ComboBox_TZone->setEditText(ComboBox_TZone->itemText(zone_index));
    ComboBox_TZone->setToolTip({});
  }
}

std::filesystem::path TForm_Main::Options_Path() const { return options_.folders.settings_dir / kOptionsFileName; }

void TForm_Main::Restore_Place_Options(Site& site) {
  const PlaceOptions o = ReadPlaceOptions(Options_Path());
  site.Site_Zone.reset();
  place_.clear();
  if (!places_.empty()) {
    if (!o.zone.empty()) {
      try {
        site.Site_Zone = std::make_shared<const ZoneTable>(ReadZoneTable(ZoneInfoDir(), o.zone));
      } catch (const Error& e) {
        std::cerr << "Vesperkalend: stored zone " << e.describe() << "; using the zone list\n";
      }
    }
    for (const Place& p : places_)
      if (p.display == o.place) place_ = p.display;
  }
}

void TForm_Main::Save_Place_Options() {
  const Site& site = session_->Site_Asked();
  const PlaceOptions o{place_, site.Site_Zone ? site.Site_Zone->name : std::string()};
  std::error_code ec;
  // Nothing chosen and no options file yet: nothing is written, as before places existed.
  if (o.place.empty() && o.zone.empty() && !std::filesystem::exists(Options_Path(), ec)) return;
  WritePlaceOptions(Options_Path(), o);
}

}  // namespace vk
