#include "ui/ViewController.h"

#include "ui/NavigationController.h"
#include "ui/TabBarController.h"

namespace kinetra {

ViewController::ViewController(std::unique_ptr<View> view) { setView(std::move(view)); }

ViewController::~ViewController() {
  if (view_) view_->controller_ = nullptr;
}

View& ViewController::view() {
  if (!view_) {
    std::unique_ptr<View> made = loadView();
    setView(made ? std::move(made) : ViewController::loadView());
  }
  return *view_;
}

void ViewController::setView(std::unique_ptr<View> view) {
  if (view_) {
    view_->controller_ = nullptr;
    view_->removeFromSuperview();
  }
  view_ = std::move(view);
  if (view_) view_->controller_ = this;
}

std::unique_ptr<View> ViewController::loadView() {
  auto view = std::make_unique<View>(Rect{0, 0, kDefaultWidth, kDefaultHeight});
  view->setBackgroundColor(Color::whiteColor());
  return view;
}

void ViewController::setTitle(std::string title) {
  navigationItem_.setTitle(title);
  tabBarItem_.title = title;
  title_ = std::move(title);
}

NavigationController* ViewController::navigationController() const {
  return navigationController_.get();
}

TabBarController* ViewController::tabBarController() const {
  if (TabBarController* tabs = tabBarController_.get()) return tabs;
  if (NavigationController* navigation = navigationController()) {
    return navigation->tabBarController();
  }
  return nullptr;
}

Responder* ViewController::nextResponder() const { return view_ ? view_->superview() : nullptr; }

}  // namespace kinetra
