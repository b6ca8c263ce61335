#pragma once

#include <vector>

#include "ui/Event.h"
#include "ui/Touch.h"
#include "ui/Trackable.h"

namespace kinetra {

// Something that can receive touches and the keyboard focus: views and screen controllers.
// A touch goes to the view hit testing finds; what that view does not handle passes along
// nextResponder (a view's controller, else its superview).
class Responder : public virtual Trackable {
 public:
  Responder() = default;
  Responder(const Responder&) = delete;
  Responder& operator=(const Responder&) = delete;
  virtual ~Responder();

  virtual Responder* nextResponder() const { return nullptr; }

  // touchesBegan:withEvent: and touchesEnded:withEvent:. The defaults pass the touches on.
  virtual void touchesBegan(const std::vector<Touch>& touches, const Event& event);
  virtual void touchesEnded(const std::vector<Touch>& touches, const Event& event);

  // The keyboard focus. becomeFirstResponder asks the current first responder to resign and
  // fails when it refuses or when canBecomeFirstResponder is false.
  virtual bool canBecomeFirstResponder() const { return false; }
  bool becomeFirstResponder();
  bool resignFirstResponder();
  bool isFirstResponder() const;

 protected:
  // Asked before the focus is given; a text field asks its delegate here.
  virtual bool shouldBecomeFirstResponder() { return true; }
  virtual void didBecomeFirstResponder() {}
  virtual void didResignFirstResponder() {}
};

}  // namespace kinetra
