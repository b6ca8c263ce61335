#include "ui/AnimationRecorder.h"

#include <algorithm>
#include <cmath>

#include "foundation/Clock.h"

namespace kinetra {

namespace {

double sanitizedSeconds(double seconds) {
  return std::isfinite(seconds) && seconds > 0 ? std::min(seconds, 3600.0) : 0.0;
}

// A change that ends where it started needs no animation.
bool unchanged(const AnimationRecord& record) {
  switch (record.kind) {
    case AnimationRecord::Kind::kAlpha:
      return record.fromAlpha == record.toAlpha;
    case AnimationRecord::Kind::kFrame:
      return rectsEqual(record.fromFrame, record.toFrame);
    case AnimationRecord::Kind::kTransform:
      return record.fromTransform == record.toTransform;
    default:
      return false;
  }
}

}  // namespace

void AnimationRecorder::begin(std::string animationId) {
  Block block;
  block.animationId = std::move(animationId);
  blocks_.push_back(std::move(block));
}

void AnimationRecorder::setDuration(double seconds) {
  if (isRecording()) blocks_.back().duration = sanitizedSeconds(seconds);
}

void AnimationRecorder::setDelay(double seconds) {
  if (isRecording()) blocks_.back().delay = sanitizedSeconds(seconds);
}

void AnimationRecorder::setDidStop(View::AnimationDidStop callback) {
  if (isRecording()) blocks_.back().didStop = std::move(callback);
}

void AnimationRecorder::setTransition(AnimationTransition transition, View& view) {
  if (!isRecording()) return;
  AnimationRecord record;
  record.kind = AnimationRecord::Kind::kTransition;
  record.transition = transition;
  blocks_.back().changes.push_back({&view, record});
}

AnimationRecorder::Change* AnimationRecorder::findChange(View& view, AnimationRecord::Kind kind) {
  auto& changes = blocks_.back().changes;
  auto found = std::find_if(changes.begin(), changes.end(), [&](const Change& change) {
    return change.view.get() == &view && change.record.kind == kind;
  });
  return found == changes.end() ? nullptr : &*found;
}

void AnimationRecorder::recordAlpha(View& view, double from, double to) {
  record(view, AnimationRecord::Kind::kAlpha, &AnimationRecord::fromAlpha,
         &AnimationRecord::toAlpha, from, to);
}

void AnimationRecorder::recordFrame(View& view, const Rect& from, const Rect& to) {
  record(view, AnimationRecord::Kind::kFrame, &AnimationRecord::fromFrame,
         &AnimationRecord::toFrame, from, to);
}

void AnimationRecorder::recordTransform(View& view, const AffineTransform& from,
                                        const AffineTransform& to) {
  record(view, AnimationRecord::Kind::kTransform, &AnimationRecord::fromTransform,
         &AnimationRecord::toTransform, from, to);
}

void AnimationRecorder::commit() {
  if (!isRecording()) return;
  Block block = std::move(blocks_.back());
  blocks_.pop_back();
  for (Change& change : block.changes) {
    View* view = change.view.get();
    if (view == nullptr || unchanged(change.record)) continue;
    change.record.transactionId = block.animationId;
    change.record.duration = block.duration;
    change.record.delay = block.delay;
    append(view, change.record);
  }
  scheduleStop(block);
}

void AnimationRecorder::record(View* view, AnimationRecord record) { append(view, record); }

void AnimationRecorder::append(View* view, AnimationRecord record) {
  record.sequence = nextSequence_++;
  record.view = view != nullptr ? view->identifier() : 0;
  if (view != nullptr) view->setLastAnimation(record);
  if (log_.size() >= kMaxLoggedRecords) log_.erase(log_.begin());
  log_.push_back(std::move(record));
}

void AnimationRecorder::scheduleStop(const Block& block) {
  std::erase_if(timers_, [](const Timer& timer) { return !timer.isValid(); });
  if (!block.didStop || clock_ == nullptr) return;
  timers_.push_back(clock_->schedule(
      block.duration + block.delay,
      [didStop = block.didStop, animationId = block.animationId] { didStop(animationId, true); }));
}

std::vector<AnimationRecord> AnimationRecorder::takeRecords() {
  std::vector<AnimationRecord> taken;
  taken.swap(log_);
  return taken;
}

void AnimationRecorder::setClock(Clock* clock) {
  timers_.clear();
  clock_ = clock;
}

void AnimationRecorder::reset() {
  blocks_.clear();
  log_.clear();
  timers_.clear();
  clock_ = nullptr;
}

}  // namespace kinetra
