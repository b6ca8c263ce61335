#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "foundation/Date.h"
#include "foundation/Timer.h"

namespace kinetra {

struct TimerEntry;

// The source of "now" and the scheduler of one-shot timers for one run loop. Nothing in the
// system reads the operating system's clock directly: it asks the run loop's clock.
//
// Timers fall due in order of due time, ties in the order they were scheduled. A timer's
// callback runs on the run loop's thread and never runs after the timer was invalidated, after
// its handle was destroyed, or after the clock was destroyed.
//
// Not thread-safe: used only on the run loop's thread.
class Clock {
 public:
  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;
  // Pending timers are invalidated; their handles stay safe to use and destroy.
  virtual ~Clock();

  virtual Date now() const = 0;

  // A one-shot timer that calls `callback` once, `seconds` from now. Negative or NaN delays
  // count as zero; delays beyond about 30 years are capped there. The timer stays pending only
  // as long as the returned handle lives.
  Timer schedule(double seconds, std::function<void()> callback);

  // Timers scheduled and neither fired nor invalidated.
  std::size_t pendingTimerCount() const { return queue_.size(); }

 protected:
  Clock();

  // The clock's timer timeline, in seconds: the moment timers are measured against. It only
  // moves forward.
  virtual double timelineNow() const = 0;
  // Told whenever the earliest pending due time may have changed; nullopt when none is pending.
  virtual void earliestDueChanged(std::optional<double> due) = 0;

  // The earliest pending due time on the timeline, if any.
  std::optional<double> earliestDue() const;
  // Removes the earliest pending timer and runs its callback. Precondition: one is pending.
  void fireEarliest();

 private:
  friend class Timer;
  using Key = std::pair<double, std::uint64_t>;  // due time, then scheduling order

  void cancel(TimerEntry& entry);

  std::map<Key, std::shared_ptr<TimerEntry>> queue_;
  std::uint64_t nextSequence_ = 0;
};

}  // namespace kinetra
