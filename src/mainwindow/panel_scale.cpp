#include "panel_scale.h"

#include <QAbstractButton>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vk {

namespace {

int Scaled(int v, double factor) { return static_cast<int>(std::lround(v * factor)); }

// Edges are scaled, not sizes, so that neighbours that touch keep touching.
QRect Scaled(const QRect& r, double factor) {
  const int left = Scaled(r.left(), factor), top = Scaled(r.top(), factor);
  return {left, top, Scaled(r.left() + r.width(), factor) - left, Scaled(r.top() + r.height(), factor) - top};
}

}  // namespace

int Scaled_Font_Pixels(int pixels, double factor) {
  return std::max(Scaled(pixels, factor), std::min(pixels, kMinPanelFontPixels));
}

PanelScale::PanelScale(QWidget* panel) { Keep(panel, false); }

void PanelScale::Keep(QWidget* widget, bool geometry) {
  Kept k{widget, geometry ? widget->geometry() : QRect(), widget->font(), 0, QSize()};
  // The panel's own font is inherited from the window: it is kept all the same.
  if ((!geometry || widget->testAttribute(Qt::WA_SetFont)) && widget->font().pixelSize() > 0)
    k.font_pixels = widget->font().pixelSize();
  if (const auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->icon().isNull())
    k.icon = button->iconSize();
  kept_.push_back(k);
  // Group panels are plain widgets; a control's own children (a combo box's
  // line edit, a text box's scroll bars) follow their control.
  if (!geometry || widget->metaObject() == &QWidget::staticMetaObject)
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) Keep(child, true);
}

void PanelScale::Apply(double factor) {
  if (factor == factor_) return;
  factor_ = factor;
  for (const Kept& k : kept_) {
    if (!k.widget) continue;
    if (k.geometry.isValid()) k.widget->setGeometry(Scaled(k.geometry, factor));
    if (k.font_pixels > 0) {
      QFont f = k.font;
      f.setPixelSize(Scaled_Font_Pixels(k.font_pixels, factor));
      k.widget->setFont(f);
    }
    if (k.icon.isValid())
      static_cast<QAbstractButton*>(k.widget.data())->setIconSize(k.icon * factor);
  }
}

}  // namespace vk
