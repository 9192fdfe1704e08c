// The chosen day in large green digits with its six step buttons, and "Heute".
#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vk {

class DatePanel : public QWidget {
 public:
  explicit DatePanel(QWidget* parent);

  QWidget* Shape2;
  QLineEdit *RichEdit_Jahr, *RichEdit_Monat, *RichEdit_Daag;
  QLabel *Label1, *Label2;
  QPushButton *BitBtn_Jahr_Plus, *BitBtn_Monat_Plus, *BitBtn_Daag_Plus;
  QPushButton *BitBtn_Jahr_Minus, *BitBtn_Monat_Minus, *BitBtn_Daag_Minus;
  QPushButton* Button_Heute;
};

}  // namespace vk
