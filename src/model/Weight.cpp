#include "model/Weight.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace kinetra {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  const std::string_view tail = text.substr(text.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != ending[i]) return false;
  }
  return true;
}

// The number at the start of `text`: digits with an optional "." and fraction (or a point and
// digits); nothing for a sign, a word, or a number out of range.
std::optional<double> leadingNumber(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  text.remove_prefix(start);
  const bool beginsWithNumber =
      isDigit(text.front()) || (text.front() == '.' && text.size() > 1 && isDigit(text[1]));
  if (!beginsWithNumber) return std::nullopt;
  double value = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (read.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<Weight> Weight::parse(std::string_view weightText) {
  const std::size_t start = weightText.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  const std::string_view rest = weightText.substr(start);
  const std::optional<double> amount = leadingNumber(rest.substr(0, rest.find(' ')));
  if (!amount) return std::nullopt;
  return Weight(*amount, unitOf(weightText));
}

WeightUnit Weight::unitOf(std::string_view weightText) {
  const std::size_t end = weightText.find_last_not_of(" \t");
  if (end == std::string_view::npos) return WeightUnit::kNone;
  const std::string_view text = weightText.substr(0, end + 1);
  static constexpr std::array<std::string_view, 6> kKilogramEndings = {
      "kg", "kgs", "kilo", "kilos", "kilogram", "kilograms"};
  static constexpr std::array<std::string_view, 4> kPoundEndings = {"lb", "lbs", "pound", "pounds"};
  for (std::string_view ending : kKilogramEndings) {
    if (endsWithIgnoringCase(text, ending)) return WeightUnit::kKilograms;
  }
  for (std::string_view ending : kPoundEndings) {
    if (endsWithIgnoringCase(text, ending)) return WeightUnit::kPounds;
  }
  return WeightUnit::kNone;
}

std::string_view Weight::title(WeightUnit unit) {
  switch (unit) {
    case WeightUnit::kKilograms:
      return "kg";
    case WeightUnit::kPounds:
      return "lbs";
    case WeightUnit::kNone:
      break;
  }
  return {};
}

double Weight::in(WeightUnit target) const {
  if (unit_ == target || unit_ == WeightUnit::kNone || target == WeightUnit::kNone) return amount_;
  return target == WeightUnit::kKilograms ? amount_ * kKilogramsPerPound
                                          : amount_ / kKilogramsPerPound;
}

std::string Weight::text(WeightUnit target) const {
  const double tenths = std::round(in(target)*10);
  std::array<char, 64> buffer{};
  if (std::fmod(tenths, 10) == 0) {
    std::snprintf(buffer.data(), buffer.size(), "%.0f", tenths / 10);
  } else {
    std::snprintf(buffer.data(), buffer.size(), "%.1f", tenths / 10);
  }
  std::string result(buffer.data());
  const std::string_view unit = title(target == WeightUnit::kNone ? unit_ : target);
  if (!unit.empty()) {
    result += ' ';
    result += unit;
  }
  return result;
}

}  // namespace kinetra
