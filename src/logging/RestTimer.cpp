#include "logging/RestTimer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/RestLengths.h"
#include "model/UserData.h"
#include "ui/Application.h"

namespace kinetra {

namespace {

// A tick fires at its due time exactly, where the time left is a whole number of seconds give
// or take rounding: that much is taken as the whole number.
constexpr double kTolerance = 1e-3;

}  // namespace

RestTimer::RestTimer(Clock& clock, UserData& userData) : clock_(clock), userData_(userData) {}

void RestTimer::start(std::string exercise) {
  length_ = RestLengths::lengthFor(userData_.settings, exercise);
  exercise_ = std::move(exercise);
  end_ = clock_.now().addingTimeInterval(length_);
  phase_ = Phase::kRunning;
  scheduleTick();
  notify();
}

void RestTimer::shorten() {
  if (canShorten()) adjust(-kStepSeconds);
}

void RestTimer::lengthen() {
  if (canLengthen()) adjust(kStepSeconds);
}

bool RestTimer::canShorten() const {
  return phase_ == Phase::kRunning && length_ > RestLengths::kMinimumSeconds;
}

bool RestTimer::canLengthen() const {
  return phase_ == Phase::kRunning && length_ < RestLengths::kMaximumSeconds;
}

void RestTimer::adjust(int seconds) {
  const int length = RestLengths::clamp(length_ + seconds);
  end_ = end_.addingTimeInterval(length - length_);
  length_ = length;
  RestLengths::remember(userData_.settings, exercise_, length_);
  // A failed write is reported by the save itself; the next save of the settings carries it.
  static_cast<void>(userData_.saveSettings());
  if (remainingSeconds() <= 0) {
    finish();
    return;
  }
  scheduleTick();
  notify();
}

void RestTimer::cancel() {
  if (phase_ == Phase::kIdle) return;
  goIdle();
}

int RestTimer::remainingSeconds() const {
  if (phase_ != Phase::kRunning) return 0;
  const double left = end_.timeIntervalSinceDate(clock_.now());
  if (!(left > kTolerance)) return 0;
  // A clock set back never shows more than the whole rest.
  return std::min(static_cast<int>(std::ceil(left - kTolerance)), length_);
}

void RestTimer::scheduleTick() {
  const int shown = remainingSeconds();
  const double left = end_.timeIntervalSinceDate(clock_.now());
  // Due when the seconds shown drop by one.
  tick_ = clock_.schedule(std::max(0.0, left - (shown - 1)), [this] { tick(); });
}

void RestTimer::tick() {
  if (remainingSeconds() <= 0) {
    finish();
    return;
  }
  scheduleTick();
  notify();
}

void RestTimer::finish() {
  phase_ = Phase::kOver;
  Application::shared().vibrate(std::vector<int>(kVibration.begin(), kVibration.end()));
  tick_ = clock_.schedule(kOverSeconds, [this] { goIdle(); });
  notify();
}

void RestTimer::goIdle() {
  phase_ = Phase::kIdle;
  exercise_.clear();
  tick_.invalidate();
  notify();
}

void RestTimer::notify() {
  if (changed_) changed_();
}

}  // namespace kinetra
