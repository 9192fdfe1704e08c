// Site and zone: typed latitude and longitude, the zone list, the display check boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <algorithm>
#include <optional>

#include "timecalc/time_zones.h"
#include "mainwindow/form_main.h"
#include "timecalc/input_checks.h"

namespace vk {

// The zone row's offset goes with every site asked for (a real zone, when
// the site has one, takes its place in the computation).
void TForm_Main::Ask_Site(const Site& site) {
  Site asked = site;
  asked.Site_TZ_Hours = TimeZones[static_cast<std::size_t>(zone_index)].offset_hours;
  session_->Set_Site(asked);
  session_->Recompute();
}

void TForm_Main::Apply_Typed_Zone() {
  if (!created_) return;
  // Text that names a row exactly (in any case) selects it; any other text
  // gives way to the zone in force.
  const int row = ComboBox_TZone->findText(ComboBox_TZone->currentText().trimmed(), Qt::MatchFixedString);
  if (row >= 0 && row < kZoneCount && (row != zone_index || session_->Site_Asked().Site_Zone)) {
    ComboBox_TZone->setCurrentIndex(row);  // recomputes through ComboBox_TZoneChange
    return;
  }
  Show_Zone();
}

void TForm_Main::Show_Values_In_Force(QLineEdit* field) {
  if (field == Edit_nLat || field == Edit_eLon) {
    Show_Site();
    return;
  }
  const tDayFields f = Day_Fields(session_->Day());
  if (field == RichEdit_Jahr) field->setText(QString::fromStdString(f.Jahr_Text));
  if (field == RichEdit_Monat) field->setText(QString::fromStdString(f.Monat_Text));
  if (field == RichEdit_Daag) field->setText(QString::fromStdString(f.Daag_Text));
}

void TForm_Main::ComboBox_TZoneChange() {
  if (!created_) return;
  // A row chosen from the list (or by the wheel); the row in force changes
  // nothing unless a real zone is in force: a row returns to the classic rule.
  const int row = ComboBox_TZone->currentIndex();
  Site site = session_->Site_Asked();
  if (row < 0 || row >= kZoneCount || (row == zone_index && !site.Site_Zone)) return;
  zone_index = row;
  site.Site_Zone.reset();
  session_->Set_Site(site);
  Show_Zone();
  if (ComboBox_TZone->currentIndex() != row) {
    const QSignalBlocker block(ComboBox_TZone);
    ComboBox_TZone->setCurrentIndex(row);
  }
  Ask_Site(site);
}

namespace {

// The typed degrees: a number with a decimal point or, as German writes
// it, a decimal comma ("60,5"). Returns: nothing for any other text.
std::optional<double> Typed_Degrees(const QString& text) {
  QString t = text.trimmed();
  if (t.count(',') == 1 && !t.contains('.')) t.replace(',', '.');
  return TryParseFloat(t.toStdString());
}

}  // namespace

void TForm_Main::Edit_nLatKeyDown(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) Take_Typed_Degrees(Edit_nLat, true);
}

void TForm_Main::Edit_eLonKeyDown(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) Take_Typed_Degrees(Edit_eLon, false);
}

// Enter in a site field: the typed number, clamped to ±90 or ±180, shown in
// the display format and computed. Other text is named in the status bar,
// and the field shows the value in force again.
void TForm_Main::Take_Typed_Degrees(QLineEdit* field, bool latitude) {
  const std::optional<double> typed = Typed_Degrees(field->text());
  if (!typed) {
    const QString quoted = QString::fromStdString(QuoteInput(field->text().toStdString(), 20));
    Show_Status(latitude ? QCoreApplication::translate("Window", "Keine Breite: %1. Eine Zahl wie 47,5 oder -33.9 eingeben.").arg(quoted)
                         : QCoreApplication::translate("Window", "Keine Länge: %1. Eine Zahl wie 7,5 oder -122.4 eingeben.").arg(quoted),
                StatusColour::Red);
    Show_Site();
    return;
  }
  Site site = session_->Site_Asked();
  double& value = latitude ? site.Site_nLat : site.Site_eLon;
  const double limit = latitude ? 90 : 180;
  value = std::clamp(*typed, -limit, limit);
  field->setText(Site_Text(value));
  Own_Coordinates();
  Ask_Site(site);
}

void TForm_Main::CheckBox_DaemmerungenClick() {
  DisplayFlags f = session_->Flags();
  f.twilights = CheckBox_Daemmerungen->isChecked();
  session_->Set_Flags(f);
}

void TForm_Main::CheckBox_Auf_UntergaengeClick() {
  DisplayFlags f = session_->Flags();
  f.rises = CheckBox_Auf_Untergaenge->isChecked();
  session_->Set_Flags(f);
}

void TForm_Main::CheckBox_MeridianClick() {
  DisplayFlags f = session_->Flags();
  f.transits = CheckBox_Meridian->isChecked();
  session_->Set_Flags(f);
}

}  // namespace vk
