#include "model/WeightText.h"

namespace kinetra {

std::string WeightText::compose(std::string_view whole, std::string_view decimal,
                                std::string_view unit) {
  std::string text(whole);
  if (!decimal.empty() && decimal != "0") {
    text += '.';
    text += decimal;
  }
  text += ' ';
  text += unit;
  return text;
}

WeightText::Fields WeightText::split(std::string_view text) {
  Fields fields;
  fields.kilograms = text.ends_with("kg");
  const std::string_view number = text.substr(0, text.find(' '));
  const std::size_t point = number.find('.');
  fields.whole = std::string(number.substr(0, point));
  if (point != std::string_view::npos) {
    const std::string_view rest = number.substr(point + 1);
    fields.decimal.emplace(rest.substr(0, rest.find('.')));
  }
  return fields;
}

}  // namespace kinetra
