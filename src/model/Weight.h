#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kinetra {

enum class WeightUnit { kNone, kKilograms, kPounds };

// The weight of a strength set read from its weight text ("82.5 kg", "100 lbs"): the number
// before the first blank and the unit the text ends in. The unit is recognised, ignoring case
// and trailing blanks, by the endings the pane writes and their plain variants: "kg", "kgs",
// "kilo", "kilos", "kilogram(s)" are kilograms; "lb", "lbs", "pound(s)" are pounds; a text
// ending in anything else names no unit (a hand-edited "100"), and its number is taken to be
// in whatever unit it is compared in.
class Weight {
 public:
  static constexpr double kKilogramsPerPound = 0.45359237;

  Weight(double amount, WeightUnit unit) : amount_(amount), unit_(unit) {}

  // Nothing when the text does not begin with a number (after leading blanks), the number is
  // negative, or it is beyond the range of a double.
  static std::optional<Weight> parse(std::string_view weightText);
  static WeightUnit unitOf(std::string_view weightText);
  // "kg", "lbs", or "" for no unit.
  static std::string_view title(WeightUnit unit);

  double amount() const { return amount_; }
  WeightUnit unit() const { return unit_; }
  // The amount in `target`; unchanged when either unit is none or both are the same.
  double in(WeightUnit target) const;
  double kilograms() const { return in(WeightUnit::kKilograms); }

  // The amount in `target` with at most one decimal ("45.4", "100"), then a blank and the
  // unit's title when it has one.
  std::string text(WeightUnit target) const;

 private:
  double amount_;
  WeightUnit unit_;
};

}  // namespace kinetra
