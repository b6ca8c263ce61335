#pragma once

#include <string>

#include "ui/Font.h"
#include "ui/View.h"

namespace kinetra {

enum class TextAlignment { kLeft, kCenter, kRight };

std::string textAlignmentName(TextAlignment alignment);

// A line (or lines) of text. Takes no touches by default.
class Label : public View {
 public:
  Label();
  explicit Label(Rect frame);

  std::string kind() const override { return "label"; }

  const std::string& text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  const Font& font() const { return font_; }
  void setFont(const Font& font) { font_ = font; }
  const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& color) { textColor_ = color; }
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; }
  // 0 means any number of lines; negative counts as 0.
  int numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(int lines) { numberOfLines_ = lines < 0 ? 0 : lines; }

  void describe(ViewDescription& description) const override;

 private:
  std::string text_;
  Font font_ = Font::systemFontOfSize(17);
  Color textColor_ = Color::blackColor();
  TextAlignment alignment_ = TextAlignment::kLeft;
  int numberOfLines_ = 1;
};

}  // namespace kinetra
