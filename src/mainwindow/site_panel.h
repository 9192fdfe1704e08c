// Latitude and longitude: their labels, fields and half-degree step buttons.
#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vk {

class SitePanel : public QWidget {
 public:
  explicit SitePanel(QWidget* parent);

  QLabel *Label_nLat, *Label_eLon;
  QPushButton *BitBtn_nLat_MinusSmall, *BitBtn_nLat_PlusSmall;
  QPushButton *BitBtn_eLon_MinusSmall, *BitBtn_eLon_PlusSmall;
  QLineEdit *Edit_nLat, *Edit_eLon;
};

}  // namespace vk
