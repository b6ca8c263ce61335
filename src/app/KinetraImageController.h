#pragma once

#include <memory>
#include <vector>

#include "ui/ViewController.h"

namespace kinetra {

// The exercise screen's controller: its view is the card, and it receives the touches on the
// card's picture (which passes them on). A double tap turns the card while turning is allowed
// (`flipEnabled`); every other touch does nothing.
class KinetraImageController : public ViewController {
 public:
  explicit KinetraImageController(std::unique_ptr<View> view) : ViewController(std::move(view)) {}

  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;

  // Turns the card (through the shared state) when one of `touches` tapped more than once and
  // turning is allowed; true when the card was turned.
  static bool turnCardOnDoubleTap(const std::vector<Touch>& touches);
};

}  // namespace kinetra
