#pragma once

#include <vector>

#include "catalogue/CatalogueState.h"
#include "ui/Button.h"
#include "ui/Event.h"
#include "ui/Touch.h"
#include "ui/View.h"
#include "ui/ViewController.h"

namespace kinetra {

// The body map: the body picture, front view on the left, back view on the right. A touch on
// one of the muscles' hot spots (MuscleHotSpots) puts the muscle's label just above the spot and
// chooses the muscle; any other touch only takes the label away. Tapping the label lists the
// exercises of the muscle (labelTapped).
//
// The label (`labelView` holding the button `label`) belongs to the caller and must outlive this
// screen; it is this screen's view's one subview besides the picture while it is shown.
class bodyController : public ViewController {
 public:
  bodyController(CatalogueState state, Image picture, View& labelView, Button& label);

  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;

  // bodyButtonPressed: fills `primaryMuscle` with the exercises whose "muscle1" is the chosen
  // muscle and `additionalMuscle` with those naming it as "muscle2" to "muscle4", both in the
  // order of `exercises`, then asks for the muscle list.
  void labelTapped();

  bool labelShown();
  void hideLabel();

 private:
  CatalogueState state_;
  View& labelView_;
  Button& label_;
};

}  // namespace kinetra
