#pragma once

#include "ui/Geometry.h"
#include "ui/Trackable.h"

namespace kinetra {

class View;

// One finger on the screen: where it is and how many times it tapped in quick succession.
class Touch {
 public:
  enum class Phase { kBegan, kEnded };

  Touch(Point locationInWindow, int tapCount, View* view, Phase phase);

  int tapCount() const { return tapCount_; }
  Phase phase() const { return phase_; }
  // The view the touch landed on (hit testing); null once that view is gone.
  View* view() const;
  // The location in `view`'s coordinates (its bounds), converted from the window.
  Point locationInView(const View& view) const;
  Point locationInWindow() const { return location_; }

 private:
  Point location_;
  int tapCount_;
  WeakRef<View> view_;
  Phase phase_;
};

}  // namespace kinetra
