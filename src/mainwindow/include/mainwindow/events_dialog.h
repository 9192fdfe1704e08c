// The dialog of "Termine exportieren …": the span of days and the kinds of events.
#pragma once
#include <QDate>
#include <QDialog>
#include <array>

#include "export/event_groups.h"

class QCheckBox;
class QDateEdit;

namespace vk {

class EventsDialog : public QDialog {
 public:
  // Starts with the month that begins at `month_start` and the kinds a
  // calendar holds by default (one start of each season, by the ecliptic).
  // The dates offered lie within first … last: the days of the events in force.
  EventsDialog(QWidget* parent, QDate month_start, QDate first, QDate last);

  QDate From() const;
  QDate To() const;
  tGroupSet Kinds() const;
  bool Equator_Seasons() const;  // the seasons' starts by the equator too

  QDateEdit* From_Edit = nullptr;
  QDateEdit* To_Edit = nullptr;
  std::array<QCheckBox*, kEventCategoryCount> Kind_Boxes{};
  QCheckBox* Equator_Seasons_Box = nullptr;  // under "Jahreszeiten", usable while that is chosen
};

}  // namespace vk
