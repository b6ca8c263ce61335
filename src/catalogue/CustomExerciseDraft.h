#pragma once

#include <array>
#include <optional>
#include <string>

#include "ui/Image.h"

namespace kinetra {

// What the exercise editor holds while it is open, besides its two text views: the values of
// its three choice rows and the photo picked in it. Opening the editor starts a new draft, so a
// photo picked for one exercise is never saved under another's name.
struct CustomExerciseDraft {
  enum Choice { kRegion, kMuscle, kDifficulty };
  static constexpr int kChoices = 3;

  // The chosen values; none while a row still shows its label.
  std::array<std::optional<std::string>, kChoices> choices;
  // The picked photo drawn at full size and as a thumbnail, as PNG; empty until a pick.
  Image customImage;
  Image customImage_t;

  bool hasPickedPhoto() const { return !customImage.empty() && !customImage_t.empty(); }
};

}  // namespace kinetra
