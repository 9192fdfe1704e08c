#include "zone_panel.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QLabel>

#include "panel_parts.h"

namespace vk {

ZonePanel::ZonePanel(QWidget* p) : QWidget(p) {
  setObjectName("Panel_Zone");
  const QFont narrow20 = Panel_Font("Arial Narrow", 20);
  Label_TZone = Label(this, {6, 291, 62, 24}, QCoreApplication::translate("Window", "Zeitzone"), narrow20);
  ComboBox_TZone = new QComboBox(this);
  ComboBox_TZone->setGeometry(79, 289, 108, 28);
  ComboBox_TZone->setEditable(true);
  ComboBox_TZone->setInsertPolicy(QComboBox::NoInsert);
  ComboBox_TZone->setFont(Panel_Font("Arial Narrow", 15, true));
  // Typed text takes effect on Enter or on leaving the box, and only when it
  // names a row: no completion of rows the user never chose.
  ComboBox_TZone->setCompleter(nullptr);
  ComboBox_TZone->setFocusPolicy(Qt::StrongFocus);
  Label_DST = Label(this, {192, 291, 160, 24}, "", narrow20);

  Label_Ort = Label(this, {6, 324, 62, 24}, QCoreApplication::translate("Window", "Ort"), narrow20);
  ComboBox_Ort = new QComboBox(this);
  ComboBox_Ort->setGeometry(79, 322, 273, 28);
  ComboBox_Ort->setEditable(true);
  ComboBox_Ort->setInsertPolicy(QComboBox::NoInsert);
  ComboBox_Ort->setMaxVisibleItems(12);
  ComboBox_Ort->setFont(ComboBox_TZone->font());
  Fit_Around_Controls(this);
}

}  // namespace vk
