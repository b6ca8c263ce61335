#include "ui/Keyboard.h"

namespace kinetra {

std::string keyboardTypeName(KeyboardType type) {
  switch (type) {
    case KeyboardType::kNumberPad:
      return "numberPad";
    case KeyboardType::kNumbersAndPunctuation:
      return "numbersAndPunctuation";
    case KeyboardType::kEmailAddress:
      return "email";
    case KeyboardType::kDefault:
      break;
  }
  return "default";
}

std::string returnKeyTypeName(ReturnKeyType type) {
  switch (type) {
    case ReturnKeyType::kDone:
      return "done";
    case ReturnKeyType::kGo:
      return "go";
    case ReturnKeyType::kNext:
      return "next";
    case ReturnKeyType::kSearch:
      return "search";
    case ReturnKeyType::kSend:
      return "send";
    case ReturnKeyType::kDefault:
      break;
  }
  return "default";
}

std::string typeableText(KeyboardType type, const std::string& text) {
  if (type != KeyboardType::kNumberPad) return text;
  std::string digits;
  for (char c : text) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  return digits;
}

}  // namespace kinetra
