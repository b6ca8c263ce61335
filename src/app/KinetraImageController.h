#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "ui/Event.h"
#include "ui/ViewController.h"

namespace kinetra {

// The exercise screen's controller: its view is the card, and it receives the touches on the
// card's picture (which passes them on). A double tap does the double-tap action (turning the
// card while that is allowed); every other touch does nothing.
class KinetraImageController : public ViewController {
 public:
  // What a double tap does; true when it did something. Returns false while none is set.
  using DoubleTapAction = std::function<bool()>;

  explicit KinetraImageController(std::unique_ptr<View> view) : ViewController(std::move(view)) {}

  void setDoubleTapAction(DoubleTapAction action) { doubleTapAction_ = std::move(action); }

  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;

  // Does `action` when one of `touches` tapped more than once; true when the action did
  // something.
  static bool doOnDoubleTap(const std::vector<Touch>& touches, const DoubleTapAction& action);

 private:
  DoubleTapAction doubleTapAction_;
};

}  // namespace kinetra
