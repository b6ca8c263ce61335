#pragma once

#include "ui/View.h"

namespace kinetra {

// The screen: 320 points wide and 480 high, or taller on a taller screen; the root of
// everything shown. Its subviews are the tab bar controller's view (which follows its height)
// and whatever the system puts over it (overlays).
class Window : public View {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kHeight = 480;
  // The tallest window: a phone turned upright is well inside it.
  static constexpr double kMaxHeight = 2000;

  Window() : View(Rect{0, 0, kWidth, kHeight}) { setBackgroundColor(Color::blackColor()); }

  std::string kind() const override { return "window"; }

  // The screen's height in points, kept between kHeight and kMaxHeight.
  void setHeight(double height);
};

}  // namespace kinetra
