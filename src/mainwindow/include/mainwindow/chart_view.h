// Image1: shows the displayed chart bitmap, stretched to the panel with its proportion kept.
#pragma once
#include <QPointF>
#include <optional>
#include <QImage>
#include <QWidget>

namespace vk {

class ChartView : public QWidget {
 public:
  explicit ChartView(QWidget* parent = nullptr) : QWidget(parent) {}
  void setImage(const QImage* image) {
    image_ = image;
    update();
  }
  // Where the widget point `pos` lies on the shown chart, as fractions 0 … 1
  // of its width and height; empty off the chart or without one.
  std::optional<QPointF> Chart_Fraction(QPoint pos) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* image_ = nullptr;
};

}  // namespace vk
