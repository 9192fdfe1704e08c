// Image1: shows the chart, fitted to the panel with its proportion kept, or
// enlarged (up to one chart pixel per screen pixel) and moved by dragging.
// Enlarging and moving only redraw the chart already made; the view draws at
// the screen's resolution (device pixel ratio), not a stretched bitmap.
#pragma once
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

namespace vk {

class ChartView : public QWidget {
 public:
  explicit ChartView(QWidget* parent = nullptr);

  // `shown`: the chart fitted to the view, as the window made it (its device
  // pixel ratio set); `full`: the full-size chart it was made from. Both must
  // outlive the view or be replaced; either may be null.
  void setImage(const QImage* shown, const QImage* full = nullptr);

  // The enlargement over the fitted chart: 1 = fitted, at most Max_Zoom().
  double Zoom() const { return zoom_; }
  double Max_Zoom() const;
  // Logical screen pixels per pixel of the full-size chart.
  double Scale() const { return Fit_Scale() * zoom_; }
  // The full-size chart's pixel at the view's top left corner.
  QPointF Offset() const { return offset_; }
  // Enlarges (steps > 0) or reduces by 1.25 a step, keeping the chart's point
  // under `anchor` (view pixels) in place; the view's centre when none is given.
  void Zoom_By(double steps, QPointF anchor = QPointF(-1, -1));
  void Zoom_Fit();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QSizeF Full_Size() const;
  double Fit_Scale() const;  // logical pixels per chart pixel when fitted
  void Set_Offset(QPointF offset);
  void Show_Cursor();
  const QImage& Drawn(double scale, double device_ratio);

  const QImage* shown_ = nullptr;
  const QImage* full_ = nullptr;
  double zoom_ = 1.0;
  QPointF offset_;          // in pixels of the full-size chart
  QPoint drag_from_;        // where the left button went down, view pixels
  QPointF drag_offset_;     // the offset then
  bool dragging_ = false;
  QImage drawn_;            // the full-size chart at the scale last drawn, device pixels
  bool drawn_stale_ = true;
};

}  // namespace vk
