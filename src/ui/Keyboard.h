#pragma once

#include <string>

namespace kinetra {

enum class KeyboardType { kDefault, kNumberPad, kNumbersAndPunctuation, kEmailAddress };
enum class ReturnKeyType { kDefault, kDone, kGo, kNext, kSearch, kSend };

std::string keyboardTypeName(KeyboardType type);
std::string returnKeyTypeName(ReturnKeyType type);

// What the keyboard of this type can type: the number pad has digits only, every other
// keyboard types anything. Characters a keyboard lacks are dropped.
std::string typeableText(KeyboardType type, const std::string& text);

}  // namespace kinetra
