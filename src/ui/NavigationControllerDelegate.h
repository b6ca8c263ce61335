#pragma once

#include "ui/Animated.h"
#include "ui/Trackable.h"

namespace kinetra {

class NavigationController;
class ViewController;

// What a navigation controller tells its delegate when another screen comes on top. Both
// default to nothing.
class NavigationControllerDelegate : public virtual Trackable {
 public:
  virtual ~NavigationControllerDelegate() = default;

  // navigationController:willShowViewController:animated:
  virtual void willShowViewController(NavigationController&, ViewController&, Animated) {}
  virtual void didShowViewController(NavigationController&, ViewController&, Animated) {}
};

}  // namespace kinetra
