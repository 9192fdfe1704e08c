// The zone list with the summer-time label, and the place box below it.
#pragma once
#include <QWidget>

class QComboBox;
class QLabel;

namespace vk {

class ZonePanel : public QWidget {
 public:
  explicit ZonePanel(QWidget* parent);

  QLabel *Label_TZone, *Label_DST, *Label_Ort;
  QComboBox *ComboBox_TZone, *ComboBox_Ort;
};

}  // namespace vk
