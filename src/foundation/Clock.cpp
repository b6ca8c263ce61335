#include "foundation/Clock.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/Timer.h"
#include "foundation/TimerEntry.h"

namespace kinetra {

namespace {

// About 30 years: far enough to mean "never" for any caller, near enough that the due time
// still converts to every clock's native duration without overflow.
constexpr double kLongestDelay = 1e9;

double sanitisedDelay(double seconds) {
  if (std::isnan(seconds) || seconds < 0) return 0;
  return std::min(seconds, kLongestDelay);
}

}  // namespace

Clock::Clock() = default;

Clock::~Clock() {
  for (auto& [key, entry] : queue_) {
    entry->clock = nullptr;
    entry->callback = nullptr;
  }
}

Timer Clock::schedule(double seconds, std::function<void()> callback) {
  auto entry = std::make_shared<TimerEntry>();
  entry->due = timelineNow() + sanitisedDelay(seconds);
  entry->sequence = nextSequence_++;
  entry->callback = std::move(callback);
  entry->clock = this;
  const bool becomesEarliest =
      queue_.empty() || Key{entry->due, entry->sequence} < queue_.begin()->first;
  queue_.emplace(Key{entry->due, entry->sequence}, entry);
  if (becomesEarliest) earliestDueChanged(entry->due);
  return Timer(std::move(entry));
}

std::optional<double> Clock::earliestDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.begin()->first.first;
}

void Clock::fireEarliest() {
  auto node = queue_.extract(queue_.begin());
  std::shared_ptr<TimerEntry> entry = std::move(node.mapped());
  entry->clock = nullptr;
  // Moved out first: the callback may clear the very handle that owns this entry.
  std::function<void()> callback = std::move(entry->callback);
  entry->callback = nullptr;
  if (callback) callback();
}

void Clock::cancel(TimerEntry& entry) {
  const bool wasEarliest = !queue_.empty() && queue_.begin()->second.get() == &entry;
  queue_.erase(Key{entry.due, entry.sequence});
  entry.clock = nullptr;
  if (wasEarliest) earliestDueChanged(earliestDue());
}

}  // namespace kinetra
