// Image1: shows the displayed chart bitmap, stretched to the panel with its proportion kept.
#pragma once
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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* image_ = nullptr;
};

}  // namespace vk
