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
  // calendar holds by default (one start of each season, by the ecliptic;
  // the golden and blue hours only by name).
  // The dates offered lie within first … last: the days of the events in force.
  EventsDialog(QWidget* parent, QDate month_start, QDate first, QDate last);

  QDate From() const;
  QDate To() const;
  tGroupSet Kinds() const;
  bool Equator_Seasons() const;  // the seasons' starts by the equator too
  // Whether the table in force holds the golden and blue hours (computed
  // while "Fotografenlicht" is on); without them their box is disabled and says why.
  void Offer_Photo_Light(bool available);

  QDateEdit* From_Edit = nullptr;
  QDateEdit* To_Edit = nullptr;
  std::array<QCheckBox*, kEventCategoryCount> Kind_Boxes{};
  QCheckBox* Equator_Seasons_Box = nullptr;  // under "Jahreszeiten", usable while that is chosen
};

}  // namespace vk
