#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Timer.h"
#include "ui/AnimationRecord.h"
#include "ui/Trackable.h"
#include "ui/View.h"

namespace kinetra {

class Clock;

// The view animation blocks (beginAnimations … commitAnimations) and the log of animations
// requested since the screen last read them. Changes of alpha, frame and transform made inside
// a block, and the block's transition, are recorded at commit with the block's duration; the
// block's stop callback runs once that duration (plus delay) has passed on the clock. Without a
// clock the stop callback never runs.
class AnimationRecorder {
 public:
  static constexpr double kDefaultDuration = 0.2;  // seconds, the device's default
  static constexpr std::size_t kMaxLoggedRecords = 1000;

  AnimationRecorder() = default;
  AnimationRecorder(const AnimationRecorder&) = delete;
  AnimationRecorder& operator=(const AnimationRecorder&) = delete;

  void begin(std::string animationId);
  void setDuration(double seconds);
  void setDelay(double seconds);
  void setDidStop(View::AnimationDidStop callback);
  void setTransition(AnimationTransition transition, View& view);
  // Ends the innermost block; does nothing outside a block.
  void commit();
  bool isRecording() const { return !blocks_.empty(); }

  // Called by views whose animatable values change inside a block.
  void recordAlpha(View& view, double from, double to);
  void recordFrame(View& view, const Rect& from, const Rect& to);
  void recordTransform(View& view, const AffineTransform& from, const AffineTransform& to);

  // Records an animation that needs no block (a push, a row deletion, the status bar); `view`
  // may be null for the status bar.
  void record(View* view, AnimationRecord record);

  // The animations committed since the last call, oldest first (at most kMaxLoggedRecords).
  std::vector<AnimationRecord> takeRecords();
  const std::vector<AnimationRecord>& records() const { return log_; }

  // Stop callbacks are scheduled on this clock; changing it cancels pending ones.
  void setClock(Clock* clock);
  void reset();

 private:
  struct Change {
    WeakRef<View> view;
    AnimationRecord record;
  };
  struct Block {
    std::string animationId;
    double duration = kDefaultDuration;
    double delay = 0;
    View::AnimationDidStop didStop;
    std::vector<Change> changes;
  };

  Change* findChange(View& view, AnimationRecord::Kind kind);
  // Records a change of one property in the open block; a second change of the same view and
  // kind in that block only moves the end value, so the animation runs from the first value.
  template <typename Value>
  void record(View& view, AnimationRecord::Kind kind, Value AnimationRecord::*fromField,
              Value AnimationRecord::*toField, const Value& from, const Value& to) {
    if (!isRecording()) return;
    if (Change* change = findChange(view, kind)) {
      change->record.*toField = to;
      return;
    }
    AnimationRecord entry;
    entry.kind = kind;
    entry.*fromField = from;
    entry.*toField = to;
    blocks_.back().changes.push_back({&view, entry});
  }
  void append(View* view, AnimationRecord record);
  void scheduleStop(const Block& block);

  std::vector<Block> blocks_;
  std::vector<AnimationRecord> log_;
  std::uint64_t nextSequence_ = 1;
  Clock* clock_ = nullptr;
  std::vector<Timer> timers_;
};

}  // namespace kinetra
