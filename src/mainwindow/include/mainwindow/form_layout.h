// The window's layout: chart panel in the chart's proportion, controls beside it.
#pragma once

namespace vk {

inline constexpr int kStatusBarHeight = 25;
inline constexpr int kMinChartWidth = 200;
// The smallest share of their full size to which the right panel's controls
// and fonts shrink in a low window (a 1024 x 600 screen with title and task bars).
inline constexpr double kMinPanelScale = 0.7;

struct FormLayout {
  int left_width;      // Panel_Left
  int bild_height;     // Panel_Bild, full client height above the status bar
  int bild_width;      // Panel_Bild, in the chart's proportion 2500 : 2200
  int rght_left;       // left edge of Panel_Rght
  int rght_width;      // width of Panel_Rght
  int Chart_DispW;     // displayed chart bitmap, pixels (at least 200)
  int Chart_DispH;
  double panel_scale;  // the right panel's controls and fonts: 1 = full size
};

// The layout of a client area of `client_width` x `client_height` pixels
// (status bar included). A client area higher than wide gets no left margin.
// The controls beside the chart need `min_right_width` x `right_height`
// pixels at full size; when the panel is lower than that, they shrink to fit
// its height (not below kMinPanelScale). When they would get less than their
// (shrunk) width, the chart panel is narrowed to leave them that much.
FormLayout ComputeFormLayout(int client_width, int client_height, int min_right_width = 0, int right_height = 0);

}  // namespace vk
