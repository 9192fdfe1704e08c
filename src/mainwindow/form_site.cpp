// Site and zone: typed latitude and longitude, their step buttons, the zone list.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "timecalc/time_zones.h"
#include "mainwindow/form_main.h"
#include "timecalc/numtext.h"

namespace vk {

void TForm_Main::Site_Recompute() {
  chart.Site_nLat = almanac->site.Site_nLat;  // the phase pictures as seen from the site's hemisphere
  almanac->site.Site_TZ_Hours = TimeZones[static_cast<std::size_t>(zone_index)].offset_hours;
  chart.Zone = almanac->site.Site_Zone;
  RunRecomputationChain(*almanac, options_.data_dir, [this](std::string_view t, StatusColour c) {
    Show_Status(QString::fromUtf8(t.data(), static_cast<int>(t.size())), c);
  }, options_.log_dir);
  Refresh_Day();
}

void TForm_Main::Apply_Typed_Zone() {
  if (!created_) return;
  // Text that names a row exactly (in any case) selects it; any other text
  // gives way to the zone in force.
  const int row = ComboBox_TZone->findText(ComboBox_TZone->currentText().trimmed(), Qt::MatchFixedString);
  if (row >= 0 && row < kZoneCount && (row != zone_index || almanac->site.Site_Zone)) {
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
  const tDayFields f = Day_Fields(chart.Sel_JD);
  if (field == RichEdit_Jahr) field->setText(QString::fromStdString(f.Jahr_Text));
  if (field == RichEdit_Monat) field->setText(QString::fromStdString(f.Monat_Text));
  if (field == RichEdit_Daag) field->setText(QString::fromStdString(f.Daag_Text));
}

void TForm_Main::ComboBox_TZoneChange() {
  if (!created_) return;
  // A row chosen from the list (or by the wheel); the row in force changes
  // nothing unless a real zone is in force: a row returns to the classic rule.
  const int row = ComboBox_TZone->currentIndex();
  if (row < 0 || row >= kZoneCount || (row == zone_index && !almanac->site.Site_Zone)) return;
  zone_index = row;
  almanac->site.Site_Zone.reset();
  Show_Zone();
  if (ComboBox_TZone->currentIndex() != row) {
    const QSignalBlocker block(ComboBox_TZone);
    ComboBox_TZone->setCurrentIndex(row);
  }
  Site_Recompute();
}

namespace {

// Enter in a site field: the typed number, clamped to ±limit, stored and
// shown in the display format. Returns: false when the text is no number
// ("47,5"), which leaves value and field as they are.
bool Take_Typed_Degrees(QLineEdit* field, double limit, double& value) {
  const auto v = TryParseFloat(field->text().toStdString());
  if (!v) return false;
  value = std::clamp(*v, -limit, limit);
  field->setText(Site_Text(value));
  return true;
}

}  // namespace

void TForm_Main::Edit_nLatKeyDown(int key) {
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Take_Typed_Degrees(Edit_nLat, 90, almanac->site.Site_nLat)) {
    Own_Coordinates();
    Site_Recompute();
  }
}

void TForm_Main::Edit_eLonKeyDown(int key) {
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Take_Typed_Degrees(Edit_eLon, 180, almanac->site.Site_eLon)) {
    Own_Coordinates();
    Site_Recompute();
  }
}

void TForm_Main::Site_Step(bool latitude, double step) {
  Btn_Repeat_Active = 1;
  Own_Coordinates();
  std::int64_t pause = 250;
  while (Btn_Repeat_Active == 1) {
    double& value = latitude ? almanac->site.Site_nLat : almanac->site.Site_eLon;
    const double limit = latitude ? 90 : 180;
    value = step < 0 ? std::max(value + step, -limit) : std::min(value + step, limit);
    (latitude ? Edit_nLat : Edit_eLon)->setText(Site_Text(value));
    Wait_ms(pause);
    Process_Messages();  // the button's release ends the loop after this recomputation
    Site_Recompute();
    pause = 0;
  }
}

void TForm_Main::CheckBox_DaemmerungenClick() {
  chart.Show_Daemmerungen = CheckBox_Daemmerungen->isChecked();
  Render_Day_Chart(chart, almanac->events, almanac->phases);
}

void TForm_Main::CheckBox_Auf_UntergaengeClick() {
  chart.Show_Auf_Untergaenge = CheckBox_Auf_Untergaenge->isChecked();
  Render_Day_Chart(chart, almanac->events, almanac->phases);
}

void TForm_Main::CheckBox_MeridianClick() {
  chart.Show_Meridian = CheckBox_Meridian->isChecked();
  Render_Day_Chart(chart, almanac->events, almanac->phases);
}

}  // namespace vk
