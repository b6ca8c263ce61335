#pragma once

#include <string_view>

#include "foundation/PropertyList.h"

namespace kinetra {

// The rest length the user chose for each exercise, kept in the settings dictionary under
// "restSeconds": a dictionary of exercise name to whole seconds as a decimal string ("105").
// The settings' other keys are never touched. A value that cannot be read (the key not a
// dictionary, a length that is not plain digits or lies outside [kMinimumSeconds,
// kMaximumSeconds]) counts as no value: the exercise rests kDefaultSeconds.
class RestLengths {
 public:
  static constexpr std::string_view kKey = "restSeconds";
  static constexpr int kDefaultSeconds = 90;
  static constexpr int kMinimumSeconds = 15;
  static constexpr int kMaximumSeconds = 600;

  // The length remembered for `exercise`, or kDefaultSeconds.
  static int lengthFor(const PropertyList& settings, std::string_view exercise);
  // `seconds` brought into [kMinimumSeconds, kMaximumSeconds].
  static int clamp(int seconds);
  // Remembers `seconds` (clamped) for `exercise`. An unreadable "restSeconds" value is replaced
  // by a dictionary; the lengths of other exercises stay as they are. False, changing nothing,
  // when `settings` is not a dictionary.
  static bool remember(PropertyList& settings, std::string_view exercise, int seconds);
};

}  // namespace kinetra
