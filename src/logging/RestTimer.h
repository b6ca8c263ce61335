#pragma once

#include <array>
#include <functional>
#include <string>

#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "foundation/Timer.h"

namespace kinetra {

class UserData;

// The rest countdown between strength sets. Adding a set starts it with the length remembered
// for that exercise in the settings (RestLengths; 90 s when none); the user may shorten or
// lengthen it by kStepSeconds, which also remembers the new length for that exercise and
// writes the settings at once; cancelling stops it. At zero the device is asked to vibrate
// once and the rest reads as over for kOverSeconds, then the timer is idle again. Nothing is
// written to the training logs.
//
// It counts on the clock's "now": the remaining time is measured against the moment the rest
// ends, so late or skipped ticks (a sleeping machine) never make it drift; a tick falls due
// each time the whole seconds shown change. The state lives here, in the process, for as long
// as this object: a screen that goes away and comes back, or a browser that reloads, shows it
// as it is. The clock and the user's data must outlive this object. Run-loop thread only.
class RestTimer {
 public:
  enum class Phase { kIdle, kRunning, kOver };

  static constexpr int kStepSeconds = 15;
  // How long the end of a rest stays shown, in seconds.
  static constexpr double kOverSeconds = 8;
  // Milliseconds on, off, on: the vibration at the end of a rest.
  static constexpr std::array<int, 3> kVibration = {400, 150, 400};

  RestTimer(Clock& clock, UserData& userData);
  RestTimer(const RestTimer&) = delete;
  RestTimer& operator=(const RestTimer&) = delete;

  // Called after every change of what the timer shows: a start, each second, an adjustment,
  // the end, the end going away, a cancel.
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  // A rest for `exercise` with its remembered length, from now; replaces any rest under way.
  void start(std::string exercise);
  // While running: the length (and so the time left) kStepSeconds shorter or longer, held to
  // the bounds of RestLengths; the new length is remembered for the rest's exercise. A rest
  // shortened past its end is over at once. Nothing otherwise.
  void shorten();
  void lengthen();
  // Stops a running rest, or puts away the end of one; nothing while idle.
  void cancel();

  Phase phase() const { return phase_; }
  // The exercise of the rest under way or just over; empty while idle.
  const std::string& exercise() const { return exercise_; }
  int lengthSeconds() const { return length_; }
  // Whole seconds left, rounded up, while running; 0 otherwise.
  int remainingSeconds() const;
  bool canShorten() const;
  bool canLengthen() const;

 private:
  void adjust(int seconds);
  void scheduleTick();
  void tick();
  void finish();
  void goIdle();
  void notify();

  Clock& clock_;
  UserData& userData_;
  std::function<void()> changed_;
  Phase phase_ = Phase::kIdle;
  std::string exercise_;
  int length_ = 0;
  Date end_;
  Timer tick_;  // the next second while running; the end going away while over
};

}  // namespace kinetra
