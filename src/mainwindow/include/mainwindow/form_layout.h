// The window's layout: chart panel in the chart's proportion, controls beside it.
#pragma once

namespace vk {

inline constexpr int kStatusBarHeight = 25;
inline constexpr int kMinChartWidth = 200;

struct FormLayout {
  int left_width;      // Panel_Left
  int bild_height;     // Panel_Bild, full client height above the status bar
  int bild_width;      // Panel_Bild, in the chart's proportion 2500 : 2200
  int rght_left;       // left edge of Panel_Rght
  int rght_width;      // width of Panel_Rght
  int Chart_DispW;     // displayed chart bitmap, pixels (at least 200)
  int Chart_DispH;
};

// The layout of a client area of `client_width` x `client_height` pixels
// (status bar included). A client area higher than wide gets no left margin.
FormLayout ComputeFormLayout(int client_width, int client_height);

}  // namespace vk
