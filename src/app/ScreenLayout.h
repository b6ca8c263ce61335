#pragma once

#include <memory>

#include "ui/View.h"

namespace kinetra {

// The measures every tab lays its screens out by, in points.
struct ScreenLayout {
  static constexpr double kWidth = 320;
  // Content area of a tab below a navigation bar: 460 − 44 − 49 points high.
  static constexpr double kContentHeight = 367;

  // The white view of a screen's whole content area.
  static std::unique_ptr<View> contentView();
};

}  // namespace kinetra
