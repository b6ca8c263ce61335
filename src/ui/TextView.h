#pragma once

#include <string>

#include "ui/Font.h"
#include "ui/Keyboard.h"
#include "ui/Label.h"
#include "ui/TextViewDelegate.h"
#include "ui/View.h"

namespace kinetra {

// Text of any length, editable or not. A tap on an editable text view makes it the first
// responder; the return key types a line feed, which the delegate is asked about like any
// other text.
class TextView : public View {
 public:
  TextView();
  explicit TextView(Rect frame);

  std::string kind() const override { return "textView"; }

  const std::string& text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  const Font& font() const { return font_; }
  void setFont(const Font& font) { font_ = font; }
  const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& color) { textColor_ = color; }
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; }
  bool isEditable() const { return editable_; }
  // Making a text view not editable also takes the keyboard from it.
  void setEditable(bool editable);
  KeyboardType keyboardType() const { return keyboardType_; }
  void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
  ReturnKeyType returnKeyType() const { return returnKeyType_; }
  void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }

  TextViewDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(TextViewDelegate* delegate) { delegate_ = delegate; }

  bool canBecomeFirstResponder() const override { return true; }

  // A tap on an editable text view takes the keyboard; otherwise the touch passes on.
  void touchesEnded(const std::vector<Touch>& touches, const Event& event) override;

  void describe(ViewDescription& description) const override;

 protected:
  bool shouldBecomeFirstResponder() override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;

 private:
  friend class Finger;

  bool replaceText(TextRange range, const std::string& replacement);
  void pressReturn();

  std::string text_;
  Font font_ = Font::systemFontOfSize(12);
  Color textColor_ = Color::blackColor();
  TextAlignment alignment_ = TextAlignment::kLeft;
  bool editable_ = true;
  KeyboardType keyboardType_ = KeyboardType::kDefault;
  ReturnKeyType returnKeyType_ = ReturnKeyType::kDefault;
  WeakRef<TextViewDelegate> delegate_;
};

}  // namespace kinetra
