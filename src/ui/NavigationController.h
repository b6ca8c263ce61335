#pragma once

#include <vector>

#include "ui/NavigationBar.h"
#include "ui/NavigationControllerDelegate.h"
#include "ui/ViewController.h"

namespace kinetra {

// A stack of screens with a navigation bar. The top screen's view fills the controller's view
// below the bar (or all of it while the bar is hidden); the bar's back button pops. Screens
// are kept weakly: a screen that is destroyed leaves the stack.
class NavigationController : public ViewController {
 public:
  NavigationController();
  explicit NavigationController(ViewController& rootViewController);
  ~NavigationController() override;

  // Pushing a screen already in this or another navigation stack, or this controller itself,
  // does nothing.
  void pushViewController(ViewController& viewController, Animated animated);
  // Returns the screen taken off, or null when only the root is left.
  ViewController* popViewControllerAnimated(Animated animated);
  void popToRootViewControllerAnimated(Animated animated);

  // Bottom to top.
  std::vector<ViewController*> viewControllers() const;
  ViewController* topViewController() const;

  bool isNavigationBarHidden() const { return barHidden_; }
  void setNavigationBarHidden(bool hidden, Animated animated);
  NavigationBar& navigationBar() { return *bar_; }

  NavigationControllerDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(NavigationControllerDelegate* delegate) { delegate_ = delegate; }

 private:
  // Puts the top screen's view and the bar in place.
  void arrange();
  void prune();
  void recordTransition(AnimationRecord::Kind kind);
  void tellDelegate(ViewController& shown, Animated animated, bool did);

  std::vector<WeakRef<ViewController>> stack_;
  NavigationBar* bar_;
  bool barHidden_ = false;
  WeakRef<View> shownView_;
  WeakRef<NavigationControllerDelegate> delegate_;
};

}  // namespace kinetra
