#include "foundation/ManualClock.h"

#include <cmath>

namespace kinetra {

void ManualClock::advance(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  advanceTo(now_.addingTimeInterval(seconds));
}

void ManualClock::advanceTo(Date moment) {
  if (!std::isfinite(moment.timeIntervalSince1970()) || moment < now_) moment = now_;
  const double target = moment.timeIntervalSince1970();
  for (auto due = earliestDue(); due && *due <= target; due = earliestDue()) {
    if (*due > now_.timeIntervalSince1970()) now_ = Date(*due);
    fireEarliest();
  }
  now_ = moment;
}

}  // namespace kinetra
