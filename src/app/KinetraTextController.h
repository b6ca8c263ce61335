#pragma once

#include <vector>

#include "ui/TextView.h"

namespace kinetra {

// The back of the exercise screen's card: the exercise's description, a text view that can
// take the keyboard focus. Made at launch and held by the shared state as `velomarTabText`.
// A double tap turns the card while turning is allowed (`flipEnabled`); any other touch is
// handled as by every text view.
class KinetraTextController : public TextView {
 public:
  static constexpr Rect kFrame{10, 71, 305, 291};

  KinetraTextController() : TextView(kFrame) {}

  bool canBecomeFirstResponder() const override { return true; }
  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;
};

}  // namespace kinetra
