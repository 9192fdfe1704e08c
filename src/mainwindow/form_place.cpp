// The place box: places of the tz database and the town list completing as
// the user types, the real zone they bring, the close matches of an unknown
// name, the place of the system's zone at a first start, and their keeping in
// the options file.
#include <QCoreApplication>
#include <QFontMetrics>
#include <QComboBox>
#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <algorithm>
#include <iostream>
#include <vector>

#include "base/error.h"
#include "mainwindow/form_main.h"
#include "mainwindow/place_options.h"
#include "timecalc/zone_file.h"

namespace vk {
namespace {

QString Own_Coordinates_Text() { return QCoreApplication::translate("Window", "eigene Koordinaten"); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString Place_Box_Hint() {
  return QCoreApplication::translate("Window", "Ort eingeben oder wählen: setzt Breite, Länge und Zeitzone");
}

// Wide enough for the longest entry: the drop-down list of a box. Of
// thousands of places only the 40 longest texts are measured.
void Fit_List_Width(QComboBox* box) {
  std::vector<QString> texts;
  for (int i = 0; i < box->count(); ++i) texts.push_back(box->itemText(i));
  const auto longer = [](const QString& a, const QString& b) { return a.size() > b.size(); };
  const std::size_t measured = std::min<std::size_t>(texts.size(), 40);
  std::partial_sort(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(measured), texts.end(), longer);
  int widest = 0;
  const QFontMetrics metrics(box->view()->font());
  for (std::size_t i = 0; i < measured; ++i) widest = std::max(widest, metrics.horizontalAdvance(texts[i]));
  box->view()->setMinimumWidth(widest + 40);  // room for the scroll bar and the margins
}

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

void TForm_Main::Read_Places() {
  if (places_read_) return;
  places_read_ = true;
  places_.clear();
  try {
    std::error_code ec;
    const std::filesystem::path beside_data = options_.data_dir / kTownListName;
    const std::filesystem::path towns =
        std::filesystem::is_regular_file(beside_data, ec) ? beside_data : FindTownList(options_.executable);
    PlaceList list = ReadPlaces(ZoneInfoDir(), towns);
    for (const std::string& w : list.warnings) std::cerr << "Vesperkalend: " << w << "\n";
    places_ = std::move(list.places);
  } catch (const Error& e) {
    if (!places_error_.empty()) places_error_ += "; ";  // after why the span is the documented decade
    places_error_ += (std::string_view(e.what()) == kFileNotFound
                         ? QCoreApplication::translate("Window", "Keine Zeitzonen-Datenbank (%1): nur die 40 festen Zeitzonen")
                         : QCoreApplication::translate("Window", "Zeitzonen-Tabelle unbrauchbar (%1): nur die 40 festen Zeitzonen"))
                        .arg(QString::fromStdString(e.describe()))
                        .toStdString();
  }
}

void TForm_Main::Fill_Place_Box() {
  if (places_read_) return;
  Read_Places();
  if (place_to_name_) {
    // Kept by its display text; a zone's place also by the one it had before
    // it showed its German name ("Vienna — Europe/Vienna"). A kept place no
    // longer in the list leaves the site's own coordinates.
    const auto& [kept_place, first_start_zone] = *place_to_name_;
    place_.clear();
    for (const Place& p : places_)
      if (!kept_place.empty() &&
          (p.display == kept_place || (p.principal && p.city + " \u2014 " + p.zone == kept_place))) {
        place_ = p.display;
        break;
      }
    if (const Place* p = first_start_zone.empty() ? nullptr : FirstStartPlace(places_, first_start_zone))
      place_ = p->display;
    place_to_name_.reset();
  }
  const QSignalBlocker block(ComboBox_Ort);
  ComboBox_Ort->clear();
  QStringList displays;
  displays.reserve(static_cast<qsizetype>(places_.size()));
  for (const Place& p : places_) displays << Q(p.display);
  ComboBox_Ort->addItems(displays);
  ComboBox_Ort->setEnabled(!places_.empty());
  Fit_List_Width(ComboBox_Ort);
  Fit_List_Width(ComboBox_TZone);
  Show_Place();
}

void TForm_Main::Ort_Text_Edited(const QString& text) {
  if (text.isEmpty()) {
    Ort_Matches->setStringList({});
    Ort_Completer->popup()->hide();
    return;
  }
  Offer_Places(FindPlaces(places_, text.toStdString()));
}

void TForm_Main::Offer_Places(const std::vector<const Place*>& places) {
  QStringList shown;
  for (const Place* p : places) shown << Q(p->display);
  Ort_Matches->setStringList(shown);
  if (shown.isEmpty())
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
  if (text.empty() || QString::fromStdString(text) == Own_Coordinates_Text()) return Show_Place();
  // Several fit: their list to choose from. None: said so, with the close
  // matches to choose from; the typed text stays in the box.
  const QString typed = QString::fromStdString(text);
  if (const auto found = FindPlaces(places_, text); !found.empty()) {
    Show_Status(QCoreApplication::translate("Window", "%1 Orte passen zu „%2“: bitte einen wählen")
                    .arg(static_cast<qulonglong>(found.size()))
                    .arg(typed),
                StatusColour::ButtonFace);
    Offer_Places(found);
    return;
  }
  const auto close = ClosePlaces(places_, text);
  QStringList names;
  for (const Place* p : close) names << Q(p->display);
  Show_Status(QCoreApplication::translate("Window", "Ort „%1“ unbekannt; ähnlich: %2").arg(typed, names.join("; ")),
              StatusColour::ButtonFace);
  Offer_Places(close);
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
  place_to_name_.reset();
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
  place_to_name_.reset();
  Show_Place();
}

void TForm_Main::Show_Place() {
  const QSignalBlocker block(ComboBox_Ort);
  if (Ort_Completer->popup()) Ort_Completer->popup()->hide();
  const int row = place_.empty() ? -1 : ComboBox_Ort->findText(Q(place_), Qt::MatchExactly);
  ComboBox_Ort->setCurrentIndex(row);
  ComboBox_Ort->setEditText(place_.empty() ? Own_Coordinates_Text() : Q(place_));
  ComboBox_Ort->lineEdit()->setCursorPosition(0);
  // The whole name, also when the box is too narrow for it.
  ComboBox_Ort->setToolTip(place_.empty() ? Place_Box_Hint() : Q(place_) + "\n" + Place_Box_Hint());
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

std::string TForm_Main::Restore_Zone_Option(Site& site) {
  const PlaceOptions o = ReadPlaceOptions(Options_Path());
  site.Site_Zone.reset();
  place_.clear();
  if (!o.zone.empty()) {
    try {
      site.Site_Zone = std::make_shared<const ZoneTable>(ReadZoneTable(ZoneInfoDir(), o.zone));
    } catch (const Error& e) {
      std::cerr << "Vesperkalend: stored zone " << e.describe() << "; using the zone list\n";
    }
  }
  return o.place;
}

std::string TForm_Main::First_Start_Place(Site& site, bool documented_site) {
  std::error_code ec;
  if (!documented_site || std::filesystem::exists(Options_Path(), ec)) return {};
  // The zone table's place of the system's zone: its coordinates are the
  // merged list's too, which is read after the first chart and gives the
  // place its display name (Fill_Place_Box).
  std::vector<Place> zone_places;
  try {
    zone_places = ReadPlaces(ZoneInfoDir()).places;
  } catch (const Error&) {
    return {};  // no tz database: said after the first computation (Read_Places)
  }
  const Place* p = FirstStartPlace(zone_places, options_.system_zone ? options_.system_zone() : std::string());
  if (!p) return {};
  try {
    site.Site_Zone = std::make_shared<const ZoneTable>(ReadZoneTable(ZoneInfoDir(), p->zone));
  } catch (const Error& e) {
    std::cerr << "Vesperkalend: the system's zone " << e.describe() << "; using the documented site\n";
    return {};
  }
  site.Site_nLat = p->lat;
  site.Site_eLon = p->lon;
  return p->zone;
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
