#include "ui/TextField.h"

#include "ui/ScreenDescription.h"

namespace kinetra {

TextField::TextField() : TextField(Rect{}) {}

TextField::TextField(Rect frame) : Control(frame) {}

void TextField::tapped(const Touch&, const Event&) { becomeFirstResponder(); }

bool TextField::shouldBecomeFirstResponder() {
  TextFieldDelegate* d = delegate();
  return d == nullptr || d->textFieldShouldBeginEditing(*this);
}

void TextField::didBecomeFirstResponder() {
  if (TextFieldDelegate* d = delegate()) d->textFieldDidBeginEditing(*this);
}

void TextField::didResignFirstResponder() {
  if (TextFieldDelegate* d = delegate()) d->textFieldDidEndEditing(*this);
}

bool TextField::replaceText(TextRange range, const std::string& replacement, const Event& event) {
  if (!isEnabled() || !isFirstResponder()) return false;
  const std::string typed = typeableText(keyboardType_, replacement);
  const TextRange r = TextRange::clamped(text_, range);
  if (typed.empty() && r.length == 0) return false;
  WeakRef<TextField> self(this);
  if (TextFieldDelegate* d = delegate();
      d != nullptr && !d->shouldChangeCharactersInRange(*this, r, typed)) {
    return false;
  }
  if (self.get() == nullptr) return false;
  text_ = TextRange::replacing(text_, r, typed);
  sendActionsForControlEvents(ControlEvent::kEditingChanged, event);
  return true;
}

void TextField::pressReturn() {
  if (TextFieldDelegate* d = delegate()) d->textFieldShouldReturn(*this);
}

void TextField::describe(ViewDescription& description) const {
  Control::describe(description);
  description.text = text_;
  description.placeholder = placeholder_;
  description.font = font_;
  description.textColor = textColor_;
  description.textAlignment = textAlignmentName(alignment_);
  description.keyboardType = keyboardTypeName(keyboardType_);
  description.returnKeyType = returnKeyTypeName(returnKeyType_);
  description.editable = isEnabled();
  description.firstResponder = isFirstResponder();
}

}  // namespace kinetra
