#include "app/KinetraImageController.h"

#include <algorithm>

namespace kinetra {

void KinetraImageController::touchesBegan(const std::vector<Touch>& touches, const Event&) {
  doOnDoubleTap(touches, doubleTapAction_);
}

bool KinetraImageController::doOnDoubleTap(const std::vector<Touch>& touches,
                                           const DoubleTapAction& action) {
  const bool doubleTap = std::any_of(touches.begin(), touches.end(),
                                     [](const Touch& touch) { return touch.tapCount() > 1; });
  return doubleTap && action && action();
}

}  // namespace kinetra
