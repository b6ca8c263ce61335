#pragma once

#include "ui/Animated.h"
#include "ui/ScrollViewDelegate.h"
#include "ui/View.h"

namespace kinetra {

enum class ScrollViewIndicatorStyle { kDefault, kBlack, kWhite };

// The phases of a finger's scrolling, as the screen reports them.
enum class ScrollPhase {
  kDragging,      // the finger is down and moving the content
  kDecelerating,  // the finger let go and the content glides
  kEnded,         // the content came to rest
};

// A view whose content is larger than itself: the bounds origin is the content offset.
// setContentOffset moves at once (animated only records the animation), tells the delegate
// scrollViewDidScroll when the offset changed, and stops a glide in progress. The finger
// scrolls through Finger.
class ScrollView : public View {
 public:
  ScrollView();
  explicit ScrollView(Rect frame);

  std::string kind() const override { return "scrollView"; }

  Size contentSize() const { return contentSize_; }
  void setContentSize(Size size);
  Point contentOffset() const { return offset(); }
  // Not clamped to the content, as on the device; non-finite values count as 0.
  void setContentOffset(Point offset, Animated animated = Animated::No);
  // The largest offset the finger can reach: content size minus view size, at least zero.
  Point maximumContentOffset() const;

  bool isPagingEnabled() const { return pagingEnabled_; }
  void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
  bool isScrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
  bool bounces() const { return bounces_; }
  void setBounces(bool bounces) { bounces_ = bounces; }
  bool isDirectionalLockEnabled() const { return directionalLock_; }
  void setDirectionalLockEnabled(bool enabled) { directionalLock_ = enabled; }
  ScrollViewIndicatorStyle indicatorStyle() const { return indicatorStyle_; }
  void setIndicatorStyle(ScrollViewIndicatorStyle style) { indicatorStyle_ = style; }

  bool isDragging() const { return phase_ == Phase::kDragging; }
  bool isDecelerating() const { return phase_ == Phase::kDecelerating; }

  ScrollViewDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(ScrollViewDelegate* delegate) { delegate_ = delegate; }

  void describe(ViewDescription& description) const override;

 protected:
  // Told after every change of the offset, before the delegate.
  virtual void contentOffsetDidChange() {}

 private:
  friend class Finger;
  enum class Phase { kIdle, kDragging, kDecelerating };

  Point offset() const { return {bounds().x, bounds().y}; }
  // The finger's scrolling: moves to `offset` (clamped to the content) in `phase`, telling the
  // delegate what the device tells it at each change of phase.
  void scrollByFinger(Point offset, ScrollPhase phase);
  void moveTo(Point offset);

  Size contentSize_;
  bool pagingEnabled_ = false;
  bool scrollEnabled_ = true;
  bool bounces_ = true;
  bool directionalLock_ = false;
  ScrollViewIndicatorStyle indicatorStyle_ = ScrollViewIndicatorStyle::kDefault;
  Phase phase_ = Phase::kIdle;
  WeakRef<ScrollViewDelegate> delegate_;
};

}  // namespace kinetra
