#include "ui/Window.h"

#include <algorithm>
#include <cmath>

namespace kinetra {

void Window::setHeight(double height) {
  const double h = std::isfinite(height) ? std::clamp(height, kHeight, kMaxHeight) : kHeight;
  setFrame({0, 0, kWidth, h});
}

}  // namespace kinetra
