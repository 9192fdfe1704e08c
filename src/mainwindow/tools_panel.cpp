#include "tools_panel.h"

#include <QCoreApplication>
#include <QPushButton>

#include "panel_parts.h"

namespace vk {

ToolsPanel::ToolsPanel(QWidget* p) : QWidget(p) {
  setObjectName("Panel_Werkzeuge");
  const struct {
    QPushButton** button;
    const char* caption;
    QRect geometry;
  } tools[] = {{&Button_Monde_anpassen, QT_TRANSLATE_NOOP("Window", "Monde anpassen"), {368, 0, 120, 41}},
               {&Button_Venus_anpassen, QT_TRANSLATE_NOOP("Window", "Venus anpassen"), {368, 48, 120, 41}},
               {&Button_Merkur_anpassen, QT_TRANSLATE_NOOP("Window", "Merkur anpassen"), {368, 96, 121, 41}}};
  for (const auto& t : tools) {
    *t.button = new QPushButton(QCoreApplication::translate("Window", t.caption), this);
    (*t.button)->setGeometry(t.geometry);
    (*t.button)->setVisible(false);
    (*t.button)->setEnabled(false);
  }
  Fit_Around_Controls(this);
  setVisible(false);  // the panel takes no room in the window's minimum size
}

}  // namespace vk
