#pragma once

#include <vector>

#include "ui/TabBar.h"
#include "ui/TabBarControllerDelegate.h"
#include "ui/ViewController.h"

namespace kinetra {

// Screens side by side, one shown at a time above the tab bar. Its view stands below the
// status bar (0, 20, 320 × 460) so it can go straight into the window. Screens are kept weakly.
class TabBarController : public ViewController {
 public:
  TabBarController();
  ~TabBarController() override;

  // The first screen is selected. A screen already in another tab bar controller is left out.
  void setViewControllers(const std::vector<ViewController*>& viewControllers);
  std::vector<ViewController*> viewControllers() const;

  int selectedIndex() const { return selected_; }
  // setSelectedIndex: — no delegate is asked; an index out of range does nothing.
  void setSelectedIndex(int index);
  ViewController* selectedViewController() const;

  TabBar& tabBar() { return *tabBar_; }

  TabBarControllerDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(TabBarControllerDelegate* delegate) { delegate_ = delegate; }

 private:
  friend class TabBar;
  // The finger picked a tab: the delegate may refuse; picking the shown tab again takes its
  // navigation stack back to the root.
  void selectByFinger(int index);
  void arrange();

  std::vector<WeakRef<ViewController>> controllers_;
  int selected_ = -1;
  TabBar* tabBar_;
  WeakRef<View> shownView_;
  WeakRef<TabBarControllerDelegate> delegate_;
};

}  // namespace kinetra
