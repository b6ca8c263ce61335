#include "foundation/Timer.h"

#include <utility>

#include "foundation/Clock.h"
#include "foundation/TimerEntry.h"

namespace kinetra {

Timer::Timer(Timer&& other) noexcept : entry_(std::move(other.entry_)) {}

Timer& Timer::operator=(Timer&& other) noexcept {
  if (this != &other) {
    invalidate();
    entry_ = std::move(other.entry_);
  }
  return *this;
}

Timer::~Timer() { invalidate(); }

void Timer::invalidate() {
  if (!entry_) return;
  std::shared_ptr<TimerEntry> entry = std::move(entry_);
  if (entry->clock != nullptr) entry->clock->cancel(*entry);
  // Destroy the callback (and what it captured) outside the clock's bookkeeping.
  std::function<void()> callback = std::move(entry->callback);
}

bool Timer::isValid() const { return entry_ && entry_->clock != nullptr; }

}  // namespace kinetra
