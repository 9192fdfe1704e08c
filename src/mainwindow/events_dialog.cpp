#include "mainwindow/events_dialog.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vk {

namespace {

QDateEdit* Date_Edit(QWidget* parent, QDate date, QDate first, QDate last) {
  auto* edit = new QDateEdit(date, parent);
  edit->setDisplayFormat("yyyy-MM-dd");
  edit->setDateRange(first, last);
  edit->setCalendarPopup(true);
  return edit;
}

}  // namespace

EventsDialog::EventsDialog(QWidget* parent, QDate month_start, QDate first, QDate last) : QDialog(parent) {
  setWindowTitle(QCoreApplication::translate("Window", "Termine exportieren"));
  auto* layout = new QVBoxLayout(this);
  auto* dates = new QFormLayout;
  From_Edit = Date_Edit(this, month_start, first, last);
  To_Edit = Date_Edit(this, month_start.addMonths(1).addDays(-1), first, last);
  dates->addRow(QCoreApplication::translate("Window", "&Von:"), From_Edit);
  dates->addRow(QCoreApplication::translate("Window", "&Bis:"), To_Edit);
  layout->addLayout(dates);
  auto* kinds = new QGroupBox(QCoreApplication::translate("Window", "Ereignisse"), this);
  auto* kinds_layout = new QVBoxLayout(kinds);
  for (std::size_t k = 0; k < Event_Groups.size(); ++k) {
    Kind_Boxes[k] = new QCheckBox(QCoreApplication::translate("EventGroups", Event_Groups[k].label), kinds);
    Kind_Boxes[k]->setChecked((kDefaultGroups & Group_Bit(Event_Groups[k].group)) != 0);
    kinds_layout->addWidget(Kind_Boxes[k]);
    if (Event_Groups[k].group != EventCategory::Season) continue;
    Equator_Seasons_Box =
        new QCheckBox(QCoreApplication::translate("Window", "Jahreszeiten auch nach dem Äquator"), kinds);
    Equator_Seasons_Box->setToolTip(QCoreApplication::translate(
        "Window", "Jeder Jahreszeitenanfang zweimal: nach der Ekliptik und nach dem Äquator, Sekunden auseinander"));
    Equator_Seasons_Box->setEnabled(Kind_Boxes[k]->isChecked());
    connect(Kind_Boxes[k], &QCheckBox::toggled, Equator_Seasons_Box, &QWidget::setEnabled);
    auto* indented = new QHBoxLayout;  // under "Jahreszeiten", as a part of it
    indented->addSpacing(20);
    indented->addWidget(Equator_Seasons_Box);
    kinds_layout->addLayout(indented);
  }
  layout->addWidget(kinds);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("Window", "Exportieren …"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("Window", "Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void EventsDialog::Offer_Photo_Light(bool available) {
  for (std::size_t k = 0; k < Event_Groups.size(); ++k) {
    if (Event_Groups[k].group != EventCategory::PhotoLight) continue;
    Kind_Boxes[k]->setEnabled(available);
    if (!available) Kind_Boxes[k]->setChecked(false);
    Kind_Boxes[k]->setToolTip(available ? QString()
                                        : QCoreApplication::translate(
                                              "Window", "Nur mit „Ansicht“ → „Fotografenlicht“ berechnet"));
  }
}

QDate EventsDialog::From() const { return From_Edit->date(); }
QDate EventsDialog::To() const { return To_Edit->date(); }

tGroupSet EventsDialog::Kinds() const {
  tGroupSet set = 0;
  for (std::size_t k = 0; k < Event_Groups.size(); ++k)
    if (Kind_Boxes[k]->isChecked()) set |= Group_Bit(Event_Groups[k].group);
  return set;
}

bool EventsDialog::Equator_Seasons() const {
  return (Kinds() & Group_Bit(EventCategory::Season)) != 0 && Equator_Seasons_Box->isChecked();
}

}  // namespace vk
