#include "app/KinetraTextController.h"

#include "app/KinetraImageController.h"
#include "ui/Event.h"

namespace kinetra {

void KinetraTextController::touchesBegan(const std::vector<Touch>& touches, const Event& event) {
  if (KinetraImageController::doOnDoubleTap(touches, doubleTapAction_)) return;
  TextView::touchesBegan(touches, event);
}

}  // namespace kinetra
