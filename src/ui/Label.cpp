#include "ui/Label.h"

#include "ui/ScreenDescription.h"

namespace kinetra {

std::string textAlignmentName(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::kCenter:
      return "center";
    case TextAlignment::kRight:
      return "right";
    case TextAlignment::kLeft:
      break;
  }
  return "left";
}

Label::Label() : Label(Rect{}) {}

Label::Label(Rect frame) : View(frame) {
  setUserInteractionEnabled(false);
  setBackgroundColor(Color::whiteColor());
}

void Label::describe(ViewDescription& description) const {
  View::describe(description);
  description.text = text_;
  description.font = font_;
  description.textColor = textColor_;
  description.textAlignment = textAlignmentName(alignment_);
  description.numberOfLines = numberOfLines_;
}

}  // namespace kinetra
