#include "graph/GraphValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace kinetra {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text of element `index` of an entry; "" for anything that is not a string.
std::string_view textAt(const PropertyList::Array& entry, std::size_t index) {
  const PropertyList& element = entry[index];
  return element.isString() ? std::string_view(element.asString()) : std::string_view();
}

// The weight of a set: the number before the first blank of its weight text, in `unit`.
double weightOf(std::string_view weightText, WeightUnit unit) {
  const double amount = GraphValue::leadingNumber(weightText.substr(0, weightText.find(' ')));
  return Weight(amount, Weight::unitOf(weightText)).in(unit);
}

struct Sets {
  std::size_t count = 0;
  double repsSum = 0;
  double weightedSum = 0;  // Σ reps × weight
  double heaviest = 0;     // 0 unless a weight is above 0
  double mostReps = 0;     // 0 unless a repetition count is above 0
};

Sets readSets(const PropertyList& entry, WeightUnit unit) {
  Sets sets;
  if (!entry.isArray()) return sets;
  const PropertyList::Array& items = entry.asArray();
  sets.count = items.size() / 3;
  for (std::size_t set = 0; set < sets.count; ++set) {
    const double weight = weightOf(textAt(items, 3 * set), unit);
    const double reps = GraphValue::leadingNumber(textAt(items, 3 * set + 1));
    sets.repsSum += reps;
    sets.weightedSum += reps * weight;
    sets.heaviest = std::max(sets.heaviest, weight);
    sets.mostReps = std::max(sets.mostReps, reps);
  }
  return sets;
}

std::optional<double> finite(double value) {
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

std::optional<GraphValue::Type> GraphValue::typeForSegment(int segment) {
  if (segment < 0 || segment > 3) return std::nullopt;
  return static_cast<Type>(segment);
}

std::optional<double> GraphValue::ofDay(const PropertyList& entry, Type type, WeightUnit unit) {
  const Sets sets = readSets(entry, unit);
  switch (type) {
    case Type::kAverageWeight:
      if (sets.repsSum == 0) return std::nullopt;
      return finite(sets.weightedSum / sets.repsSum);
    case Type::kHeaviestWeight:
      return finite(sets.heaviest);
    case Type::kAverageReps:
      if (sets.count == 0) return std::nullopt;
      return finite(sets.repsSum / static_cast<double>(sets.count));
    case Type::kMostReps:
      return finite(sets.mostReps);
  }
  return std::nullopt;
}

double GraphValue::leadingNumber(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  // from_chars takes neither a leading '+' nor "inf"/"nan" words we do not want: check that a
  // digit (or a point and a digit) comes first.
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const bool beginsWithNumber =
      !text.empty() &&
      (isDigit(text.front()) || (text.front() == '.' && text.size() > 1 && isDigit(text[1])));
  if (!beginsWithNumber) return 0;
  double value = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (read.ec != std::errc() || !std::isfinite(value)) return 0;
  return negative ? -value : value;
}

}  // namespace kinetra
