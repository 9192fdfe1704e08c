#include "panel_parts.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QPushButton>
#include <algorithm>

namespace vk {

QFont Panel_Font(const char* family, int pixels, bool bold) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QIcon Triangle(int w, int h, char direction) {
  QPixmap pm(w, h);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::black);
  p.setPen(Qt::NoPen);
  QPolygon tri;
  switch (direction) {
    case 'u': tri << QPoint(0, h - 1) << QPoint(w - 1, h - 1) << QPoint(w / 2, 0); break;
    case 'd': tri << QPoint(0, 0) << QPoint(w - 1, 0) << QPoint(w / 2, h - 1); break;
    case 'l': tri << QPoint(w - 1, 0) << QPoint(w - 1, h - 1) << QPoint(0, h / 2); break;
    default: tri << QPoint(0, 0) << QPoint(0, h - 1) << QPoint(w - 1, h / 2); break;
  }
  p.drawPolygon(tri);
  return QIcon(pm);
}

QPushButton* GlyphButton(QWidget* parent, QRect geometry, const QIcon& icon, QSize icon_size, const QString& tip) {
  auto* b = new QPushButton(parent);
  b->setGeometry(geometry);
  b->setIcon(icon);
  b->setIconSize(icon_size);
  b->setToolTip(tip);
  return b;
}

QLabel* Label(QWidget* parent, QRect geometry, const QString& text, const QFont& font) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(geometry);
  l->setFont(font);
  return l;
}

void Fit_Around_Controls(QWidget* panel) {
  QRect covered;
  for (QWidget* c : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) covered = covered.united(c->geometry());
  covered.setTop(std::max(covered.top(), 0));
  for (QWidget* c : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) c->move(c->pos() - covered.topLeft());
  panel->setGeometry(covered);
}

}  // namespace vk
