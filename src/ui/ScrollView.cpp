#include "ui/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "ui/Application.h"
#include "ui/ScreenDescription.h"

namespace kinetra {

namespace {

double finiteOrZero(double value) { return std::isfinite(value) ? value : 0; }

}  // namespace

ScrollView::ScrollView() : ScrollView(Rect{}) {}

ScrollView::ScrollView(Rect frame) : View(frame) { setClipsToBounds(true); }

void ScrollView::setContentSize(Size size) {
  contentSize_ = {std::max(0.0, finiteOrZero(size.width)),
                  std::max(0.0, finiteOrZero(size.height))};
}

Point ScrollView::maximumContentOffset() const {
  return {std::max(0.0, contentSize_.width - bounds().width),
          std::max(0.0, contentSize_.height - bounds().height)};
}

void ScrollView::setContentOffset(Point offset, Animated animated) {
  const Point target{finiteOrZero(offset.x), finiteOrZero(offset.y)};
  // Moving the content by code stops a glide where it is, as on the device.
  if (phase_ == Phase::kDecelerating) phase_ = Phase::kIdle;
  if (animated == Animated::Yes && !pointsEqual(target, this->offset())) {
    AnimationRecord record;
    record.kind = AnimationRecord::Kind::kContentOffset;
    record.duration = 0.3;
    record.fromFrame = bounds();
    record.toFrame = {target.x, target.y, bounds().width, bounds().height};
    Application::shared().animations().record(this, record);
  }
  moveTo(target);
}

void ScrollView::moveTo(Point offset) {
  if (pointsEqual(offset, this->offset())) return;
  setBoundsOrigin(offset);
  WeakRef<ScrollView> self(this);
  contentOffsetDidChange();
  if (self.get() == nullptr) return;
  if (ScrollViewDelegate* d = delegate()) d->scrollViewDidScroll(*this);
}

void ScrollView::scrollByFinger(Point offset, ScrollPhase phase) {
  const Point maximum = maximumContentOffset();
  const Point clamped{std::clamp(finiteOrZero(offset.x), 0.0, maximum.x),
                      std::clamp(finiteOrZero(offset.y), 0.0, maximum.y)};
  WeakRef<ScrollView> self(this);
  auto alive = [&] { return self.get() != nullptr; };
  switch (phase) {
    case ScrollPhase::kDragging:
      if (phase_ != Phase::kDragging) {
        phase_ = Phase::kDragging;
        if (ScrollViewDelegate* d = delegate()) d->scrollViewWillBeginDragging(*this);
        if (!alive()) return;
      }
      moveTo(clamped);
      return;
    case ScrollPhase::kDecelerating:
      if (phase_ != Phase::kDecelerating) {
        const bool wasDragging = phase_ == Phase::kDragging;
        phase_ = Phase::kDecelerating;
        if (ScrollViewDelegate* d = delegate(); d != nullptr && wasDragging) {
          d->scrollViewDidEndDragging(*this, true);
        }
        if (!alive()) return;
        if (ScrollViewDelegate* d = delegate()) d->scrollViewWillBeginDecelerating(*this);
        if (!alive()) return;
      }
      moveTo(clamped);
      return;
    case ScrollPhase::kEnded: {
      const Phase ending = phase_;
      moveTo(clamped);
      if (!alive()) return;
      phase_ = Phase::kIdle;
      if (ScrollViewDelegate* d = delegate(); d != nullptr && ending == Phase::kDragging) {
        d->scrollViewDidEndDragging(*this, false);
      }
      if (!alive()) return;
      if (ScrollViewDelegate* d = delegate(); d != nullptr && ending == Phase::kDecelerating) {
        d->scrollViewDidEndDecelerating(*this);
      }
      return;
    }
  }
}

void ScrollView::describe(ViewDescription& description) const {
  View::describe(description);
  description.contentSize = contentSize_;
  description.pagingEnabled = pagingEnabled_;
  description.scrollEnabled = scrollEnabled_;
}

}  // namespace kinetra
