#include "mainwindow/chart_view.h"

#include <QPainter>

namespace vk {

void ChartView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(128, 128, 128));
  if (!image_ || image_->isNull()) return;
  QSize size = image_->size().scaled(this->size(), Qt::KeepAspectRatio);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRect(QPoint(0, 0), size), *image_);
}

}  // namespace vk
