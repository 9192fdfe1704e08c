// The developer's phase-picture tools: three buttons, hidden and disabled.
#pragma once
#include <QWidget>

class QPushButton;

namespace vk {

class ToolsPanel : public QWidget {
 public:
  explicit ToolsPanel(QWidget* parent);

  QPushButton *Button_Monde_anpassen, *Button_Venus_anpassen, *Button_Merkur_anpassen;
};

}  // namespace vk
