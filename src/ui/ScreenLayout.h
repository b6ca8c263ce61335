#pragma once

#include <memory>

#include "ui/View.h"

namespace kinetra {

// The measures of a screen shown in a navigation controller inside a tab bar controller, on the
// 320 × 480-point window, in points.
struct ScreenLayout {
  static constexpr double kWidth = 320;
  // The content area below the status bar (20) and a navigation bar (44), above the tab bar
  // (49): 480 − 20 − 44 − 49.
  static constexpr double kContentHeight = 367;

  // The white view of a screen's whole content area.
  static std::unique_ptr<View> contentView();
};

}  // namespace kinetra
