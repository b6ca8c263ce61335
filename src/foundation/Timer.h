#pragma once

#include <memory>

namespace kinetra {

struct TimerEntry;

// The handle of a one-shot timer made by Clock::schedule (or RunLoop::schedule). Move-only.
// The timer lives only as long as its handle: destroying or overwriting the handle invalidates
// the timer, so an object that keeps its timers as members can never be called back after its
// destruction. A default-constructed handle holds no timer.
//
// Destroying or clearing the handle of the timer that is firing, from within its own callback,
// is safe: the callback stays alive until it returns.
class Timer {
 public:
  Timer() = default;
  Timer(Timer&& other) noexcept;
  Timer& operator=(Timer&& other) noexcept;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  // Keeps the callback from ever running and releases it. Harmless when already invalid.
  void invalidate();
  // True while the timer is pending: scheduled, not yet fired, not invalidated.
  bool isValid() const;

 private:
  friend class Clock;
  explicit Timer(std::shared_ptr<TimerEntry> entry) : entry_(std::move(entry)) {}

  std::shared_ptr<TimerEntry> entry_;
};

}  // namespace kinetra
