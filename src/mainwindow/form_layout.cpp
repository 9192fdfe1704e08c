#include "mainwindow/form_layout.h"

#include <algorithm>
#include <cmath>

namespace vk {

FormLayout ComputeFormLayout(int client_width, int client_height, int min_right_width, int right_height) {
  FormLayout l{};
  l.left_width = std::max(0, (client_width - client_height) / 10);
  l.bild_height = std::max(0, client_height - kStatusBarHeight);
  l.panel_scale = right_height > l.bild_height
                      ? std::max(kMinPanelScale, static_cast<double>(l.bild_height) / right_height)
                      : 1.0;
  const int right_width = static_cast<int>(std::ceil(min_right_width * l.panel_scale));
  // Rounded to the nearest whole number, halves to the even neighbour.
  l.bild_width = static_cast<int>(std::nearbyint(l.bild_height * 2500.0 / 2200.0));
  // A window too narrow for the chart at full height and the controls beside
  // it: the chart panel gives way, the controls stay whole.
  if (client_width - l.left_width - l.bild_width < right_width)
    l.bild_width = std::max(0, client_width - l.left_width - right_width);
  l.rght_left = l.left_width + l.bild_width;
  l.rght_width = std::max(0, client_width - l.rght_left);
  l.Chart_DispW = std::max(kMinChartWidth, l.rght_left - l.left_width);
  l.Chart_DispH = static_cast<int>(std::nearbyint(l.Chart_DispW / 2500.0 * 2200.0));
  return l;
}

}  // namespace vk
