#pragma once

#include <utility>
#include <vector>

#include "app/KinetraImageController.h"

#include "ui/TextView.h"

namespace kinetra {

// The back of the exercise screen's card: the exercise's description, a text view that can
// take the keyboard focus. Made at launch and held by the shared state as `velomarTabText`.
// A double tap does the double-tap action (turning the card while that is allowed); any other
// touch, or a double tap the action declines, is handled as by every text view.
class KinetraTextController : public TextView {
 public:
  // Under the muscles text and the records.
  static constexpr Rect kFrame{10, 116, 305, 246};

  KinetraTextController() : TextView(kFrame) {}

  void setDoubleTapAction(KinetraImageController::DoubleTapAction action) {
    doubleTapAction_ = std::move(action);
  }

  bool canBecomeFirstResponder() const override { return true; }
  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;

 private:
  KinetraImageController::DoubleTapAction doubleTapAction_;
};

}  // namespace kinetra
