// The three check boxes of what the event list shows.
#pragma once
#include <QWidget>

class QCheckBox;

namespace vk {

class DisplayPanel : public QWidget {
 public:
  explicit DisplayPanel(QWidget* parent);

  QCheckBox *CheckBox_Daemmerungen, *CheckBox_Auf_Untergaenge, *CheckBox_Meridian;
};

}  // namespace vk
