#include "ui/Application.h"

#include <algorithm>

#include "ui/Responder.h"
#include "ui/ScreenDescriber.h"

namespace kinetra {

Application& Application::shared() {
  static Application application;
  return application;
}

void Application::launch(ApplicationDelegate& delegate) {
  setDelegate(&delegate);
  delegate.applicationDidFinishLaunching(*this);
}

Window& Application::window() {
  if (!window_) window_ = std::make_unique<Window>();
  return *window_;
}

void Application::setStatusBarHidden(bool hidden, Animated animated) {
  if (hidden == statusBarHidden_) return;
  statusBarHidden_ = hidden;
  if (animated == Animated::No) return;
  AnimationRecord record;
  record.kind = AnimationRecord::Kind::kStatusBar;
  record.hidden = hidden;
  record.duration = 0.3;
  animations_.record(nullptr, record);
}

namespace {

View* findView(View& view, ViewId identifier) {
  if (view.identifier() == identifier) return &view;
  for (View* subview : view.subviews()) {
    if (View* found = findView(*subview, identifier)) return found;
  }
  return nullptr;
}

}  // namespace

View* Application::viewWithIdentifier(ViewId identifier) {
  layoutIfNeeded();
  return findView(window(), identifier);
}

void Application::layoutIfNeeded() { window().layoutIfNeeded(); }

ScreenDescription Application::describeScreen() {
  layoutIfNeeded();
  ScreenDescription screen;
  screen.size = {window().bounds().width, window().bounds().height};
  screen.statusBarHidden = statusBarHidden_;
  screen.window = describeViewTree(window());
  screen.animations = animations_.takeRecords();
  return screen;
}

void Application::reset() {
  if (Responder* responder = firstResponder()) responder->resignFirstResponder();
  firstResponder_.reset();
  animations_.reset();
  delegate_.reset();
  statusBarHidden_ = false;
  window_.reset();
  filesToSave_.clear();
  vibrations_.clear();
}

void Application::vibrate(std::vector<int> pattern) {
  if (pattern.size() > kMaxVibrationSteps) pattern.resize(kMaxVibrationSteps);
  if (pattern.empty()) return;
  for (int& milliseconds : pattern)
    milliseconds = std::clamp(milliseconds, 0, kMaxVibrationMilliseconds);
  // Nobody may be there to take them: only the newest few wait.
  if (vibrations_.size() == kMaxPendingVibrations) vibrations_.erase(vibrations_.begin());
  vibrations_.push_back(std::move(pattern));
}

}  // namespace kinetra
