#pragma once

#include <cstdint>
#include <functional>

namespace kinetra {

class Clock;

// The state one timer shares between its handle and its clock's queue. Internal to the timer
// machinery; nothing outside Clock and Timer touches it.
struct TimerEntry {
  double due = 0;  // on the clock's timeline, in seconds
  std::uint64_t sequence = 0;
  std::function<void()> callback;
  // The clock whose queue holds this entry; null once fired, invalidated or orphaned by the
  // clock's destruction.
  Clock* clock = nullptr;
};

}  // namespace kinetra
