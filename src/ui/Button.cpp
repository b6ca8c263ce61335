#include "ui/Button.h"

#include "ui/ScreenDescriber.h"

namespace kinetra {

std::string buttonTypeName(ButtonType type) {
  switch (type) {
    case ButtonType::kRoundedRect:
      return "roundedRect";
    case ButtonType::kDetailDisclosure:
      return "detailDisclosure";
    case ButtonType::kInfoLight:
      return "infoLight";
    case ButtonType::kInfoDark:
      return "infoDark";
    case ButtonType::kContactAdd:
      return "contactAdd";
    case ButtonType::kCustom:
      break;
  }
  return "custom";
}

namespace {

template <typename T>
T forState(const std::map<ControlState, T>& values, ControlState state) {
  auto found = values.find(state);
  if (found == values.end()) found = values.find(ControlState::kNormal);
  return found == values.end() ? T() : found->second;
}

Rect defaultFrame(ButtonType type) {
  switch (type) {
    case ButtonType::kDetailDisclosure:
    case ButtonType::kInfoLight:
    case ButtonType::kInfoDark:
    case ButtonType::kContactAdd:
      return {0, 0, 22, 22};
    case ButtonType::kCustom:
    case ButtonType::kRoundedRect:
      break;
  }
  return {};
}

}  // namespace

std::unique_ptr<Button> Button::buttonWithType(ButtonType type) {
  return std::make_unique<Button>(type, defaultFrame(type));
}

std::unique_ptr<Button> Button::pictureButton(Image picture) {
  const Size size = picture.size();
  auto button = std::make_unique<Button>(ButtonType::kCustom, Rect{0, 0, size.width, size.height});
  button->setBackgroundImage(std::move(picture), ControlState::kNormal);
  button->setBackgroundColor(Color::clearColor());
  return button;
}

Button::Button(ButtonType type, Rect frame)
    : Control(frame),
      type_(type),
      titleColor_(type == ButtonType::kCustom ? Color::whiteColor()
                                              : Color::rgba(0.2, 0.31, 0.52, 1)) {}

void Button::setTitle(std::string title, ControlState state) { titles_[state] = std::move(title); }

std::string Button::titleForState(ControlState state) const { return forState(titles_, state); }

void Button::setImage(Image image, ControlState state) { images_[state] = std::move(image); }

Image Button::imageForState(ControlState state) const { return forState(images_, state); }

void Button::setBackgroundImage(Image image, ControlState state) {
  backgroundImages_[state] = std::move(image);
}

Image Button::backgroundImageForState(ControlState state) const {
  return forState(backgroundImages_, state);
}

void Button::describe(ViewDescription& description) const {
  Control::describe(description);
  description.buttonType = buttonTypeName(type_);
  description.text = currentTitle();
  description.font = font_;
  description.textColor = titleColor_;
  const Image background = backgroundImageForState(state());
  const Image picture = background.empty() ? imageForState(state()) : background;
  if (!picture.empty()) description.picture = describePicture(picture);
}

}  // namespace kinetra
