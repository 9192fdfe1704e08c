#include "site_panel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "panel_parts.h"

namespace vk {

SitePanel::SitePanel(QWidget* p) : QWidget(p) {
  setObjectName("Panel_Ort");
  const QFont narrow20 = Panel_Font("Arial Narrow", 20);
  Label_nLat = Label(this, {6, 357, 200, 24}, QCoreApplication::translate("Window", "Geogr. Breite +=N -=S"), narrow20);
  Label_eLon = Label(this, {6, 415, 200, 24}, QCoreApplication::translate("Window", "Geogr. Länge +=O -=W"), narrow20);
  const QIcon left = Triangle(8, 11, 'l'), right = Triangle(9, 11, 'r');
  BitBtn_nLat_MinusSmall = GlyphButton(this, {6, 382, 49, 25}, left, {8, 11}, QCoreApplication::translate("Window", "Breite −0,5°"));
  BitBtn_nLat_PlusSmall = GlyphButton(this, {137, 382, 49, 25}, right, {9, 11}, QCoreApplication::translate("Window", "Breite +0,5°"));
  BitBtn_eLon_MinusSmall = GlyphButton(this, {6, 440, 49, 25}, left, {8, 11}, QCoreApplication::translate("Window", "Länge −0,5°"));
  BitBtn_eLon_PlusSmall = GlyphButton(this, {137, 440, 49, 25}, right, {9, 11}, QCoreApplication::translate("Window", "Länge +0,5°"));
  Edit_nLat = new QLineEdit("47.50", this);
  Edit_nLat->setGeometry(68, 380, 64, 28);
  Edit_eLon = new QLineEdit("7.50", this);
  Edit_eLon->setGeometry(69, 439, 64, 28);
  for (QLineEdit* e : {Edit_nLat, Edit_eLon}) e->setFont(Panel_Font("Arial Narrow", 20, true));
  Fit_Around_Controls(this);
}

}  // namespace vk
