#pragma once

#include "ui/View.h"

namespace kinetra {

// The screen: 320 × 480 points, the root of everything shown. Its subviews are the tab bar
// controller's view and whatever the system puts over it (overlays).
class Window : public View {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kHeight = 480;

  Window() : View(Rect{0, 0, kWidth, kHeight}) { setBackgroundColor(Color::blackColor()); }

  std::string kind() const override { return "window"; }
};

}  // namespace kinetra
