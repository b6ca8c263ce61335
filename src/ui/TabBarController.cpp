#include "ui/TabBarController.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/ContainerView.h"
#include "ui/NavigationController.h"

namespace kinetra {

TabBarController::TabBarController()
    : ViewController(std::make_unique<ContainerView>(
          Rect{0, Application::kStatusBarHeight, kDefaultWidth, kDefaultHeight}, "tabBarController",
          [this] { arrange(); })),
      tabBar_(&view().addSubview(std::make_unique<TabBar>(*this))) {
  // Below the status bar, the whole height of the window.
  view().setAutoresizingMask(View::kFlexibleHeight);
}

TabBarController::~TabBarController() {
  for (const WeakRef<ViewController>& entry : controllers_) {
    if (ViewController* controller = entry.get()) controller->tabBarController_.reset();
  }
  if (View* shown = shownView_.get(); shown != nullptr && shown->superview() == &view()) {
    shown->removeFromSuperview();
  }
}

void TabBarController::setViewControllers(const std::vector<ViewController*>& viewControllers) {
  for (const WeakRef<ViewController>& entry : controllers_) {
    if (ViewController* controller = entry.get()) controller->tabBarController_.reset();
  }
  controllers_.clear();
  for (ViewController* controller : viewControllers) {
    if (controller == nullptr || controller == this) continue;
    if (controller->tabBarController_.get() != nullptr) continue;
    controller->tabBarController_ = this;
    controllers_.push_back(controller);
  }
  selected_ = controllers_.empty() ? -1 : 0;
  arrange();
}

std::vector<ViewController*> TabBarController::viewControllers() const {
  std::vector<ViewController*> controllers;
  for (const WeakRef<ViewController>& entry : controllers_) {
    if (ViewController* controller = entry.get()) controllers.push_back(controller);
  }
  return controllers;
}

ViewController* TabBarController::selectedViewController() const {
  const std::vector<ViewController*> controllers = viewControllers();
  if (selected_ < 0 || selected_ >= static_cast<int>(controllers.size())) return nullptr;
  return controllers[static_cast<std::size_t>(selected_)];
}

void TabBarController::setSelectedIndex(int index) {
  const int count = static_cast<int>(viewControllers().size());
  if (index < 0 || index >= count) return;
  selected_ = index;
  arrange();
}

void TabBarController::selectByFinger(int index) {
  const std::vector<ViewController*> controllers = viewControllers();
  if (index < 0 || index >= static_cast<int>(controllers.size())) return;
  ViewController& chosen = *controllers[static_cast<std::size_t>(index)];
  WeakRef<ViewController> alive(&chosen);
  if (TabBarControllerDelegate* d = delegate();
      d != nullptr && !d->shouldSelectViewController(*this, chosen)) {
    return;
  }
  if (!alive) return;
  if (index == selected_) {
    if (auto* navigation = dynamic_cast<NavigationController*>(&chosen)) {
      navigation->popToRootViewControllerAnimated(Animated::Yes);
    }
  } else {
    setSelectedIndex(index);
  }
  if (!alive) return;
  if (TabBarControllerDelegate* d = delegate()) d->didSelectViewController(*this, chosen);
}

void TabBarController::arrange() {
  View& container = view();
  const Rect b = container.bounds();
  tabBar_->setFrame({0, std::max(0.0, b.height - TabBar::kHeight), b.width, TabBar::kHeight});
  ViewController* selected = selectedViewController();
  if (selected == nullptr && !controllers_.empty()) {
    // The selected screen is gone; fall back to the first one left.
    selected_ = viewControllers().empty() ? -1 : 0;
    selected = selectedViewController();
  }
  View* selectedView = selected != nullptr ? &selected->view() : nullptr;
  View* shown = shownView_.get();
  if (shown != nullptr && shown != selectedView && shown->superview() == &container) {
    shown->removeFromSuperview();
  }
  shownView_ = selectedView;
  if (selectedView == nullptr) return;
  if (selectedView->superview() != &container) container.insertSubview(*selectedView, 0);
  selectedView->setFrame({0, 0, b.width, std::max(0.0, b.height - TabBar::kHeight)});
  container.bringSubviewToFront(*tabBar_);
}

}  // namespace kinetra
