#pragma once

#include "ui/Trackable.h"

namespace kinetra {

class TabBarController;
class ViewController;

// What a tab bar controller asks and tells its delegate when the finger picks a tab.
class TabBarControllerDelegate : public virtual Trackable {
 public:
  virtual ~TabBarControllerDelegate() = default;

  // tabBarController:shouldSelectViewController:
  virtual bool shouldSelectViewController(TabBarController&, ViewController&) { return true; }
  // tabBarController:didSelectViewController:
  virtual void didSelectViewController(TabBarController&, ViewController&) {}
};

}  // namespace kinetra
