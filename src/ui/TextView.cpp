#include "ui/TextView.h"

#include "ui/ScreenDescription.h"

namespace kinetra {

TextView::TextView() : TextView(Rect{}) {}

TextView::TextView(Rect frame) : View(frame) { setBackgroundColor(Color::whiteColor()); }

void TextView::setEditable(bool editable) {
  editable_ = editable;
  if (!editable_ && isFirstResponder()) resignFirstResponder();
}

void TextView::touchesEnded(const std::vector<Touch>& touches, const Event& event) {
  if (editable_) {
    becomeFirstResponder();
    return;
  }
  View::touchesEnded(touches, event);
}

bool TextView::shouldBecomeFirstResponder() {
  TextViewDelegate* d = delegate();
  return d == nullptr || d->textViewShouldBeginEditing(*this);
}

void TextView::didBecomeFirstResponder() {
  if (TextViewDelegate* d = delegate()) d->textViewDidBeginEditing(*this);
}

void TextView::didResignFirstResponder() {
  if (TextViewDelegate* d = delegate()) d->textViewDidEndEditing(*this);
}

bool TextView::replaceText(TextRange range, const std::string& replacement) {
  if (!editable_ || !isFirstResponder()) return false;
  const std::string typed = typeableText(keyboardType_, replacement);
  const TextRange r = TextRange::clamped(text_, range);
  if (typed.empty() && r.length == 0) return false;
  WeakRef<TextView> self(this);
  if (TextViewDelegate* d = delegate();
      d != nullptr && !d->shouldChangeTextInRange(*this, r, typed)) {
    return false;
  }
  // The delegate may have taken the keyboard away (a "Done" return); the change still holds.
  if (self.get() == nullptr) return false;
  text_ = TextRange::replacing(text_, r, typed);
  if (TextViewDelegate* d = delegate()) d->textViewDidChange(*this);
  return true;
}

void TextView::pressReturn() { replaceText({text_.size(), 0}, "\n"); }

void TextView::describe(ViewDescription& description) const {
  View::describe(description);
  description.text = text_;
  description.font = font_;
  description.textColor = textColor_;
  description.textAlignment = textAlignmentName(alignment_);
  description.keyboardType = keyboardTypeName(keyboardType_);
  description.returnKeyType = returnKeyTypeName(returnKeyType_);
  description.editable = editable_;
  description.firstResponder = isFirstResponder();
  description.numberOfLines = 0;
}

}  // namespace kinetra
