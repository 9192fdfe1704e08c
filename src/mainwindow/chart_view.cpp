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

// The chart is drawn as paintEvent does: from the top left corner, scaled to fit.
std::optional<QPointF> ChartView::Chart_Fraction(QPoint pos) const {
  if (!image_ || image_->isNull()) return std::nullopt;
  const QSize size = image_->size().scaled(this->size(), Qt::KeepAspectRatio);
  if (size.isEmpty() || !QRect(QPoint(0, 0), size).contains(pos)) return std::nullopt;
  return QPointF((pos.x() + 0.5) / size.width(), (pos.y() + 0.5) / size.height());
}

}  // namespace vk
