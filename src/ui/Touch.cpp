#include "ui/Touch.h"

#include <algorithm>

#include "ui/View.h"

namespace kinetra {

Touch::Touch(Point locationInWindow, int tapCount, View* view, Phase phase)
    : location_(locationInWindow), tapCount_(std::max(1, tapCount)), view_(view), phase_(phase) {}

View* Touch::view() const { return view_.get(); }

Point Touch::locationInView(const View& view) const {
  return view.convertPointFromView(location_, nullptr);
}

}  // namespace kinetra
