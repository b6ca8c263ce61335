#pragma once

#include <map>
#include <memory>
#include <string>

#include "ui/Control.h"
#include "ui/Font.h"
#include "ui/Image.h"

namespace kinetra {

enum class ButtonType {
  kCustom,
  kRoundedRect,
  kDetailDisclosure,
  kInfoLight,
  kInfoDark,
  kContactAdd,
};

std::string buttonTypeName(ButtonType type);

// A push button: a title, a picture and a background picture per state, and touch-up-inside
// actions. What a state lacks it takes from the normal state.
class Button : public Control {
 public:
  // buttonWithType: — the information and disclosure buttons come 22 points square, the
  // others with a zero frame.
  static std::unique_ptr<Button> buttonWithType(ButtonType type);
  // A custom button that is its picture: sized to it, the picture its background for the
  // normal state, on a clear background.
  static std::unique_ptr<Button> pictureButton(Image picture);

  explicit Button(ButtonType type = ButtonType::kCustom, Rect frame = {});

  std::string kind() const override { return "button"; }
  ButtonType buttonType() const { return type_; }

  // setTitle:forState: and friends.
  void setTitle(std::string title, ControlState state);
  std::string titleForState(ControlState state) const;
  std::string currentTitle() const { return titleForState(state()); }
  void setImage(Image image, ControlState state);
  Image imageForState(ControlState state) const;
  void setBackgroundImage(Image image, ControlState state);
  Image backgroundImageForState(ControlState state) const;
  void setTitleColor(const Color& color) { titleColor_ = color; }
  const Color& titleColor() const { return titleColor_; }
  const Font& font() const { return font_; }
  void setFont(const Font& font) { font_ = font; }

  void describe(ViewDescription& description) const override;

 private:
  ButtonType type_;
  std::map<ControlState, std::string> titles_;
  std::map<ControlState, Image> images_;
  std::map<ControlState, Image> backgroundImages_;
  Font font_ = Font::boldSystemFontOfSize(15);
  Color titleColor_;
};

}  // namespace kinetra
