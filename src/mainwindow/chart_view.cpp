#include "mainwindow/chart_view.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace vk {

namespace {
constexpr double kZoomStep = 1.25;
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {}

void ChartView::setImage(const QImage* shown, const QImage* full) {
  shown_ = shown;
  full_ = full;
  drawn_ = QImage();  // made anew from the new chart when drawn
  zoom_ = std::min(zoom_, Max_Zoom());
  Set_Offset(offset_);
  update();
}

QSizeF ChartView::Full_Size() const {
  if (full_ && !full_->isNull()) return full_->size();
  if (shown_ && !shown_->isNull()) return shown_->deviceIndependentSize();
  return {};
}

double ChartView::Fit_Scale() const {
  const QSizeF full = Full_Size();
  if (full.isEmpty()) return 1.0;
  return std::min(width() / full.width(), height() / full.height());
}

double ChartView::Max_Zoom() const {
  const double fit = Fit_Scale() * devicePixelRatioF();
  return fit > 0 ? std::max(1.0, 1.0 / fit) : 1.0;
}

void ChartView::Zoom_By(double steps, QPointF anchor) {
  const double zoom = std::clamp(zoom_ * std::pow(kZoomStep, steps), 1.0, Max_Zoom());
  if (zoom == zoom_) return;
  if (anchor.x() < 0 || anchor.y() < 0) anchor = QRectF(rect()).center();
  const QPointF at = offset_ + anchor / Scale();  // the chart's point under the anchor
  zoom_ = zoom;
  if (zoom_ == 1.0) drawn_ = QImage();  // the fitted chart is the window's bitmap
  Set_Offset(at - anchor / Scale());
  Show_Cursor();
  update();
}

void ChartView::Zoom_Fit() {
  zoom_ = 1.0;
  drawn_ = QImage();
  offset_ = QPointF();
  Show_Cursor();
  update();
}

// Kept so that the view shows no more than the chart's edge.
void ChartView::Set_Offset(QPointF offset) {
  const QSizeF full = Full_Size();
  const double scale = Scale();
  if (full.isEmpty() || scale <= 0) {
    offset_ = QPointF();
    return;
  }
  const double max_x = std::max(0.0, full.width() - width() / scale);
  const double max_y = std::max(0.0, full.height() - height() / scale);
  offset_ = QPointF(std::clamp(offset.x(), 0.0, max_x), std::clamp(offset.y(), 0.0, max_y));
}

void ChartView::Show_Cursor() {
  if (zoom_ > 1.0)
    setCursor(dragging_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
  else
    unsetCursor();
}

// The full-size chart at `scale` logical pixels per chart pixel on a device
// of `device_ratio` device pixels per logical one: made once for each chart,
// scale and device.
const QImage& ChartView::Drawn(double scale, double device_ratio) {
  const QImage& source = full_ && !full_->isNull() ? *full_ : *shown_;
  const QSize size = (Full_Size() * scale * device_ratio).toSize();
  if (drawn_.isNull() || drawn_.size() != size || drawn_.devicePixelRatio() != device_ratio) {
    drawn_ = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    drawn_.setDevicePixelRatio(device_ratio);
  }
  return drawn_;
}

void ChartView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(128, 128, 128));
  const QSizeF full = Full_Size();
  if (full.isEmpty()) return;
  // The resolution of what is painted on: the window's backing store, or an
  // image when the view is rendered elsewhere.
  const QPaintDevice* target = p.paintEngine() ? p.paintEngine()->paintDevice() : p.device();
  const double device_ratio = target->devicePixelRatioF();
  const double scale = Scale();
  // The fitted chart as the window made it, when it was made for this resolution.
  if (zoom_ == 1.0 && shown_ && !shown_->isNull() && shown_->devicePixelRatio() == device_ratio &&
      shown_->size() == (full * scale * device_ratio).toSize()) {
    p.drawImage(QPointF(0, 0), *shown_);
    return;
  }
  p.drawImage(QPointF(-offset_.x() * scale, -offset_.y() * scale), Drawn(scale, device_ratio));
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  zoom_ = std::min(zoom_, Max_Zoom());
  Set_Offset(offset_);
  Show_Cursor();
}

void ChartView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return event->ignore();
  Zoom_By(delta / 120.0, event->position());
  event->accept();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || zoom_ <= 1.0) return QWidget::mousePressEvent(event);
  dragging_ = true;
  drag_from_ = event->position().toPoint();
  drag_offset_ = offset_;
  Show_Cursor();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QWidget::mouseMoveEvent(event);
  Set_Offset(drag_offset_ - QPointF(event->position().toPoint() - drag_from_) / Scale());
  update();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  dragging_ = false;
  Show_Cursor();
}

}  // namespace vk
