#pragma once

#include <memory>
#include <string>

#include "ui/Animated.h"
#include "ui/NavigationItem.h"
#include "ui/Responder.h"
#include "ui/TabBarItem.h"
#include "ui/View.h"

namespace kinetra {

class NavigationController;
class TabBarController;

// A screen: owns its view (made on first use by loadView unless one was given) and carries the
// navigation item and tab bar item the bars show for it. Touches its view does not handle come
// here, then go on to the view's superview.
class ViewController : public Responder {
 public:
  static constexpr double kDefaultWidth = 320;
  static constexpr double kDefaultHeight = 460;

  ViewController() = default;
  explicit ViewController(std::unique_ptr<View> view);
  ~ViewController() override;

  View& view();
  bool isViewLoaded() const { return view_ != nullptr; }
  // Replaces the view; the old one is destroyed (taken out of its superview first).
  void setView(std::unique_ptr<View> view);

  // Setting the title also titles the navigation item and the tab bar item.
  const std::string& title() const { return title_; }
  void setTitle(std::string title);
  NavigationItem& navigationItem() { return navigationItem_; }
  TabBarItem& tabBarItem() { return tabBarItem_; }

  // The navigation controller whose stack holds this screen, if any.
  NavigationController* navigationController() const;
  // The tab bar controller holding this screen (or its navigation controller), if any.
  TabBarController* tabBarController() const;

  virtual void viewWillAppear(Animated) {}
  virtual void viewDidAppear(Animated) {}
  virtual void viewWillDisappear(Animated) {}
  virtual void viewDidDisappear(Animated) {}

  Responder* nextResponder() const override;

 protected:
  // Makes the view; the default is a plain white view of 320 × 460 points.
  virtual std::unique_ptr<View> loadView();

 private:
  friend class NavigationController;
  friend class TabBarController;

  std::unique_ptr<View> view_;
  std::string title_;
  NavigationItem navigationItem_;
  TabBarItem tabBarItem_;
  WeakRef<NavigationController> navigationController_;
  WeakRef<TabBarController> tabBarController_;
};

}  // namespace kinetra
