#include "date_panel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "panel_parts.h"

namespace vk {

DatePanel::DatePanel(QWidget* p) : QWidget(p) {
  setObjectName("Panel_Datum");
  Shape2 = new QWidget(this);
  Shape2->setGeometry(4, -1, 351, 170);
  Shape2->setAutoFillBackground(true);
  QPalette black = Shape2->palette();
  black.setColor(QPalette::Window, Qt::black);
  Shape2->setPalette(black);

  auto date_field = [&](QRect g, const QString& text) {
    auto* e = new QLineEdit(text, this);
    e->setGeometry(g);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setFrame(false);
    e->setFont(Panel_Font("Arial", 53, true));
    e->setStyleSheet("QLineEdit { color: #00ff00; background: black; border: none; }");
    return e;
  };
  RichEdit_Jahr = date_field({18, 30, 141, 70}, "2022");
  RichEdit_Monat = date_field({175, 30, 73, 70}, "99");
  RichEdit_Daag = date_field({266, 30, 75, 70}, "99");
  for (QLabel** l : {&Label1, &Label2}) {
    *l = Label(this, l == &Label1 ? QRect(159, 30, 21, 70) : QRect(250, 30, 21, 70), "-",
               Panel_Font("Arial Narrow", 53, true));
    (*l)->setAlignment(Qt::AlignCenter);
    (*l)->setStyleSheet("color: #00ff00; background: transparent;");
  }
  const QIcon up = Triangle(15, 15, 'u'), down = Triangle(15, 15, 'd');
  BitBtn_Jahr_Plus = GlyphButton(this, {32, 7, 125, 25}, up, {15, 15}, QCoreApplication::translate("Window", "Jahr vor"));
  BitBtn_Monat_Plus = GlyphButton(this, {191, 7, 57, 25}, up, {15, 15}, QCoreApplication::translate("Window", "Monat vor"));
  BitBtn_Daag_Plus = GlyphButton(this, {276, 7, 57, 25}, up, {15, 15}, QCoreApplication::translate("Window", "Tag vor"));
  BitBtn_Jahr_Minus = GlyphButton(this, {32, 97, 125, 25}, down, {15, 15}, QCoreApplication::translate("Window", "Jahr zurück"));
  BitBtn_Monat_Minus = GlyphButton(this, {189, 97, 57, 25}, down, {15, 15}, QCoreApplication::translate("Window", "Monat zurück"));
  BitBtn_Daag_Minus = GlyphButton(this, {276, 97, 57, 25}, down, {15, 15}, QCoreApplication::translate("Window", "Tag zurück"));
  Button_Heute = new QPushButton(QCoreApplication::translate("Window", "Heute"), this);
  Button_Heute->setGeometry(32, 130, 300, 29);
  Button_Heute->setFont(Panel_Font("Arial", 23, true));
  Fit_Around_Controls(this);
}

}  // namespace vk
