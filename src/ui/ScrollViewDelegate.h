#pragma once

#include "ui/Trackable.h"

namespace kinetra {

class ScrollView;

// What a scroll view tells its delegate as it moves. Every operation defaults to nothing.
class ScrollViewDelegate : public virtual Trackable {
 public:
  virtual ~ScrollViewDelegate() = default;

  // Every change of the content offset, by the finger, by gliding or by setContentOffset.
  virtual void scrollViewDidScroll(ScrollView&) {}
  virtual void scrollViewWillBeginDragging(ScrollView&) {}
  // scrollViewDidEndDragging:willDecelerate:
  virtual void scrollViewDidEndDragging(ScrollView&, bool /*willDecelerate*/) {}
  // A released swipe starts to glide.
  virtual void scrollViewWillBeginDecelerating(ScrollView&) {}
  virtual void scrollViewDidEndDecelerating(ScrollView&) {}
};

}  // namespace kinetra
