#include "ui/NavigationController.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/ContainerView.h"

namespace kinetra {

NavigationController::NavigationController()
    : ViewController(std::make_unique<ContainerView>(Rect{0, 0, kDefaultWidth, kDefaultHeight},
                                                     "navigationController",
                                                     [this] { arrange(); })),
      bar_(&view().addSubview(std::make_unique<NavigationBar>(*this))) {}

NavigationController::NavigationController(ViewController& rootViewController)
    : NavigationController() {
  pushViewController(rootViewController, Animated::No);
}

NavigationController::~NavigationController() {
  for (const WeakRef<ViewController>& entry : stack_) {
    if (ViewController* controller = entry.get()) controller->navigationController_.reset();
  }
  if (View* shown = shownView_.get(); shown != nullptr && shown->superview() == &view()) {
    shown->removeFromSuperview();
  }
}

void NavigationController::prune() {
  std::erase_if(stack_, [](const WeakRef<ViewController>& entry) { return !entry; });
}

std::vector<ViewController*> NavigationController::viewControllers() const {
  std::vector<ViewController*> controllers;
  for (const WeakRef<ViewController>& entry : stack_) {
    if (ViewController* controller = entry.get()) controllers.push_back(controller);
  }
  return controllers;
}

ViewController* NavigationController::topViewController() const {
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
    if (ViewController* controller = it->get()) return controller;
  }
  return nullptr;
}

void NavigationController::tellDelegate(ViewController& shown, Animated animated, bool did) {
  NavigationControllerDelegate* d = delegate();
  if (d == nullptr) return;
  if (did) {
    d->didShowViewController(*this, shown, animated);
  } else {
    d->willShowViewController(*this, shown, animated);
  }
}

void NavigationController::recordTransition(AnimationRecord::Kind kind) {
  AnimationRecord record;
  record.kind = kind;
  record.duration = 0.35;
  Application::shared().animations().record(&view(), record);
}

void NavigationController::pushViewController(ViewController& viewController, Animated animated) {
  prune();
  if (&viewController == this || viewController.navigationController() != nullptr) return;
  ViewController* previous = topViewController();
  WeakRef<ViewController> pushed(&viewController);
  tellDelegate(viewController, animated, false);
  if (!pushed) return;
  if (previous != nullptr) previous->viewWillDisappear(animated);
  stack_.push_back(&viewController);
  viewController.navigationController_ = this;
  viewController.viewWillAppear(animated);
  arrange();
  if (animated == Animated::Yes) recordTransition(AnimationRecord::Kind::kPush);
  if (previous != nullptr) previous->viewDidDisappear(animated);
  if (ViewController* shown = pushed.get()) {
    shown->viewDidAppear(animated);
    tellDelegate(*shown, animated, true);
  }
}

ViewController* NavigationController::popViewControllerAnimated(Animated animated) {
  prune();
  if (stack_.size() < 2) return nullptr;
  ViewController* popped = stack_.back().get();
  ViewController* below = stack_[stack_.size() - 2].get();
  tellDelegate(*below, animated, false);
  prune();
  if (stack_.size() < 2 || stack_.back().get() != popped) return nullptr;
  popped->viewWillDisappear(animated);
  stack_.pop_back();
  popped->navigationController_.reset();
  if (ViewController* shown = topViewController()) shown->viewWillAppear(animated);
  arrange();
  if (animated == Animated::Yes) recordTransition(AnimationRecord::Kind::kPop);
  popped->viewDidDisappear(animated);
  if (ViewController* shown = topViewController()) {
    shown->viewDidAppear(animated);
    tellDelegate(*shown, animated, true);
  }
  return popped;
}

void NavigationController::popToRootViewControllerAnimated(Animated animated) {
  prune();
  if (stack_.size() < 2) return;
  ViewController* root = stack_.front().get();
  tellDelegate(*root, animated, false);
  prune();
  while (stack_.size() > 1) {
    if (ViewController* popped = stack_.back().get()) popped->navigationController_.reset();
    stack_.pop_back();
  }
  arrange();
  if (animated == Animated::Yes) recordTransition(AnimationRecord::Kind::kPop);
  if (ViewController* shown = topViewController()) tellDelegate(*shown, animated, true);
}

void NavigationController::setNavigationBarHidden(bool hidden, Animated animated) {
  if (hidden == barHidden_) return;
  barHidden_ = hidden;
  arrange();
  if (animated == Animated::No) return;
  AnimationRecord record;
  record.kind = AnimationRecord::Kind::kNavigationBar;
  record.hidden = hidden;
  record.duration = 0.3;
  Application::shared().animations().record(bar_, record);
}

void NavigationController::arrange() {
  prune();
  View& container = view();
  const Rect b = container.bounds();
  bar_->setHidden(barHidden_);
  bar_->setFrame({0, 0, b.width, NavigationBar::kHeight});
  ViewController* top = topViewController();
  View* topView = top != nullptr ? &top->view() : nullptr;
  View* shown = shownView_.get();
  if (shown != nullptr && shown != topView && shown->superview() == &container) {
    shown->removeFromSuperview();
  }
  shownView_ = topView;
  if (topView == nullptr) return;
  if (topView->superview() != &container) container.insertSubview(*topView, 0);
  const double topY = barHidden_ ? 0 : NavigationBar::kHeight;
  topView->setFrame({0, topY, b.width, std::max(0.0, b.height - topY)});
  container.bringSubviewToFront(*bar_);
}

}  // namespace kinetra
