#include "ui/Responder.h"

#include "ui/Application.h"

namespace kinetra {

Responder::~Responder() {
  // The application's reference is weak; nothing to undo beyond what WeakRef does.
}

void Responder::touchesBegan(const std::vector<Touch>& touches, const Event& event) {
  if (Responder* next = nextResponder()) next->touchesBegan(touches, event);
}

void Responder::touchesEnded(const std::vector<Touch>& touches, const Event& event) {
  if (Responder* next = nextResponder()) next->touchesEnded(touches, event);
}

bool Responder::becomeFirstResponder() {
  Application& application = Application::shared();
  if (application.firstResponder() == this) return true;
  if (!canBecomeFirstResponder() || !shouldBecomeFirstResponder()) return false;
  if (Responder* current = application.firstResponder()) {
    if (!current->resignFirstResponder()) return false;
  }
  application.setFirstResponder(this);
  didBecomeFirstResponder();
  return true;
}

bool Responder::resignFirstResponder() {
  Application& application = Application::shared();
  if (application.firstResponder() != this) return true;
  application.setFirstResponder(nullptr);
  didResignFirstResponder();
  return true;
}

bool Responder::isFirstResponder() const { return Application::shared().firstResponder() == this; }

}  // namespace kinetra
