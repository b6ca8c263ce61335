#pragma once

#include <string>

#include "ui/Control.h"
#include "ui/Font.h"
#include "ui/Keyboard.h"
#include "ui/Label.h"
#include "ui/TextFieldDelegate.h"

namespace kinetra {

enum class TextBorderStyle { kNone, kLine, kBezel, kRoundedRect };

// One line of editable text. A tap makes it the first responder (its delegate may refuse);
// typing reaches it only while it is the first responder, through Finger.
class TextField : public Control {
 public:
  TextField();
  explicit TextField(Rect frame);

  std::string kind() const override { return "textField"; }

  const std::string& text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  const std::string& placeholder() const { return placeholder_; }
  void setPlaceholder(std::string placeholder) { placeholder_ = std::move(placeholder); }
  const Font& font() const { return font_; }
  void setFont(const Font& font) { font_ = font; }
  const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& color) { textColor_ = color; }
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; }
  KeyboardType keyboardType() const { return keyboardType_; }
  void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
  ReturnKeyType returnKeyType() const { return returnKeyType_; }
  void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }
  TextBorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(TextBorderStyle style) { borderStyle_ = style; }

  // Kept weakly: a delegate that is destroyed is simply no longer asked.
  TextFieldDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }

  bool canBecomeFirstResponder() const override { return isEnabled(); }

  void describe(ViewDescription& description) const override;

 protected:
  void tapped(const Touch& touch, const Event& event) override;
  bool shouldBecomeFirstResponder() override;
  void didBecomeFirstResponder() override;
  void didResignFirstResponder() override;

 private:
  friend class Finger;

  // Keyboard input, for Finger. Characters the keyboard lacks are dropped; the delegate may
  // refuse. Returns whether the text changed.
  bool replaceText(TextRange range, const std::string& replacement, const Event& event);
  void pressReturn();

  std::string text_;
  std::string placeholder_;
  Font font_ = Font::systemFontOfSize(12);
  Color textColor_ = Color::blackColor();
  TextAlignment alignment_ = TextAlignment::kLeft;
  KeyboardType keyboardType_ = KeyboardType::kDefault;
  ReturnKeyType returnKeyType_ = ReturnKeyType::kDefault;
  TextBorderStyle borderStyle_ = TextBorderStyle::kNone;
  WeakRef<TextFieldDelegate> delegate_;
};

}  // namespace kinetra
