#pragma once

#include <optional>
#include <string_view>

#include "foundation/PropertyList.h"
#include "model/Weight.h"

namespace kinetra {

// The value the progress graph plots for one logged day of a strength exercise, by the selected
// segment of the graph's type control:
//   0  average weight, weighted by repetitions: Σ reps × weight / Σ reps
//   1  heaviest weight of the day's sets, 0 when none is above 0
//   2  average repetitions per set: Σ reps / number of sets
//   3  most repetitions of the day's sets, 0 when none is above 0
//
// A day entry is a flat array of strings, three per set (weight text, repetitions, note). A
// set's weight is the number at the start of its weight text (before the first blank), its
// repetitions the number at the start of the repetitions text; a text that does not begin with
// a number, or an element that is not a string, counts as 0. An incomplete trailing set (an
// entry whose length is not a multiple of three) is not a set. Given a unit, each weight whose
// text names the other unit is converted into it first (1 lb = 0.45359237 kg); a weight whose
// text names no unit is taken as it is.
class GraphValue {
 public:
  enum class Type { kAverageWeight = 0, kHeaviestWeight = 1, kAverageReps = 2, kMostReps = 3 };

  // The type of a segment index; nothing for an index outside 0 to 3.
  static std::optional<Type> typeForSegment(int segment);

  // The day's value, not yet cut to its integer part. Nothing when the day has no defined
  // value: no sets, or repetitions summing to 0, in types 0 and 2; or a value too large to be
  // a finite number. Such a day is left out of the graph's scale and gets no dot.
  static std::optional<double> ofDay(const PropertyList& entry, Type type,
                                     WeightUnit unit = WeightUnit::kNone);

  // The decimal number at the start of `text` (after leading blanks): an optional sign, digits
  // with an optional "." and fraction, and an optional exponent. 0 when the text does not begin
  // with a number or the number is beyond the range of a double.
  static double leadingNumber(std::string_view text);
};

}  // namespace kinetra
