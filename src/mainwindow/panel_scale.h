// The right-hand panel at a smaller size: every control's place, size, font
// and icon shrunk by one factor, so that the panel fits a low window.
#pragma once
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace vk {

// Fonts shrink with the controls, but none below this many pixels (nor above its full size).
inline constexpr int kMinPanelFontPixels = 9;

class PanelScale {
 public:
  // Keeps the full size of `panel`'s font and of every control in it, group
  // panels (plain widgets) included; the controls' own parts are left to them.
  explicit PanelScale(QWidget* panel);
  // Shows the controls at `factor` (0 < factor <= 1) of their full size.
  void Apply(double factor);
  double Factor() const { return factor_; }

 private:
  struct Kept {
    QPointer<QWidget> widget;
    QRect geometry;
    QFont font;        // meaningful when font_pixels > 0
    int font_pixels;   // the font's pixel size when set on the control itself; 0: inherited
    QSize icon;        // a button's icon size; invalid: none
  };
  void Keep(QWidget* widget, bool geometry);
  std::vector<Kept> kept_;
  double factor_ = 1.0;
};

// A font's pixel size at `factor` of its full size, within the bounds above.
int Scaled_Font_Pixels(int pixels, double factor);

}  // namespace vk
