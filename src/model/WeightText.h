#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kinetra {

// The weight text of a strength set: the whole part, then "." and the decimal part only when
// a decimal other than "0" was typed, one blank, and the unit's title ("20.5 kg", "40 lbs").
struct WeightText {
  // The text typed into the pane's fields, taken apart again for the prefill.
  struct Fields {
    std::string whole;
    std::optional<std::string> decimal;  // none when the text has no "."
    bool kilograms = false;
  };

  static std::string compose(std::string_view whole, std::string_view decimal,
                             std::string_view unit);
  // The part before the first blank (all of it without one), split at "."; the decimal part is
  // what lies between the first and the second "."; "kg" is recognised as a suffix of the
  // whole text.
  static Fields split(std::string_view text);
};

}  // namespace kinetra
