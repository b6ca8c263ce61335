#pragma once

#include <utility>
#include <vector>

#include "ui/Touch.h"

namespace kinetra {

// The event a set of touches belongs to.
class Event {
 public:
  explicit Event(std::vector<Touch> touches) : touches_(std::move(touches)) {}

  const std::vector<Touch>& allTouches() const { return touches_; }
  // Precondition: the event has a touch (every event the toolkit makes has one).
  const Touch& anyTouch() const { return touches_.front(); }

 private:
  std::vector<Touch> touches_;
};

}  // namespace kinetra
