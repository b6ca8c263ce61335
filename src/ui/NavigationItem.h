#pragma once

#include <string>

#include "ui/Animated.h"
#include "ui/BarButtonItem.h"
#include "ui/Trackable.h"

namespace kinetra {

// What a screen shows in the navigation bar while it is on top: a title and the left and right
// items. Items are kept weakly; an item that is destroyed simply disappears from the bar. A
// left item takes the place of the back button.
class NavigationItem {
 public:
  explicit NavigationItem(std::string title = {}) : title_(std::move(title)) {}

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  BarButtonItem* leftBarButtonItem() const { return left_.get(); }
  void setLeftBarButtonItem(BarButtonItem* item, Animated animated = Animated::No);
  BarButtonItem* rightBarButtonItem() const { return right_.get(); }
  void setRightBarButtonItem(BarButtonItem* item, Animated animated = Animated::No);
  // The item whose title the back button shows while a screen pushed over this one is on top.
  BarButtonItem* backBarButtonItem() const { return back_.get(); }
  void setBackBarButtonItem(BarButtonItem* item) { back_ = item; }
  bool hidesBackButton() const { return hidesBackButton_; }
  void setHidesBackButton(bool hides) { hidesBackButton_ = hides; }

 private:
  std::string title_;
  WeakRef<BarButtonItem> left_;
  WeakRef<BarButtonItem> right_;
  WeakRef<BarButtonItem> back_;
  bool hidesBackButton_ = false;
};

}  // namespace kinetra
