#include "display_panel.h"

#include <QCoreApplication>
#include <QCheckBox>

#include "panel_parts.h"

namespace vk {

DisplayPanel::DisplayPanel(QWidget* p) : QWidget(p) {
  setObjectName("Panel_Anzeige");
  CheckBox_Daemmerungen = new QCheckBox(QCoreApplication::translate("Window", "Sonne: Aufg. / Unterg. / Dämmerung"), this);
  CheckBox_Daemmerungen->setGeometry(6, 180, 340, 30);
  CheckBox_Auf_Untergaenge = new QCheckBox(QCoreApplication::translate("Window", "Planeten: Aufgang / Untergang"), this);
  CheckBox_Auf_Untergaenge->setGeometry(6, 212, 340, 30);
  CheckBox_Auf_Untergaenge->setChecked(true);
  CheckBox_Meridian = new QCheckBox(QCoreApplication::translate("Window", "Planeten: Meridiandurchgang"), this);
  CheckBox_Meridian->setGeometry(6, 244, 340, 30);
  for (QCheckBox* c : {CheckBox_Daemmerungen, CheckBox_Auf_Untergaenge, CheckBox_Meridian})
    c->setFont(Panel_Font("Arial Narrow", 20));
  Fit_Around_Controls(this);
}

}  // namespace vk
