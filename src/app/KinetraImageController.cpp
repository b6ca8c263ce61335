#include "app/KinetraImageController.h"

#include <algorithm>

#include "app/VelomarAppDelegate.h"
#include "ui/Touch.h"

namespace kinetra {

void KinetraImageController::touchesBegan(const std::vector<Touch>& touches, const Event&) {
  turnCardOnDoubleTap(touches);
}

bool KinetraImageController::turnCardOnDoubleTap(const std::vector<Touch>& touches) {
  const bool doubleTap = std::any_of(touches.begin(), touches.end(),
                                     [](const Touch& touch) { return touch.tapCount() > 1; });
  VelomarAppDelegate* state = VelomarAppDelegate::shared();
  if (!doubleTap || state == nullptr || !state->flipEnabled()) return false;
  state->velomarFlipView();
  return true;
}

}  // namespace kinetra
