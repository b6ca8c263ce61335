#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ExerciseRecord.h"

namespace kinetra {

// The plain case-insensitive order of names (not the locale's collation): the texts are compared
// code point by code point after Unicode's default case folding, so "bench press" and
// "Bench Press" are equal and sort next to each other.
class CaseInsensitiveOrder {
 public:
  // Negative, zero or positive as `a` sorts before, with or after `b`. Text that is not valid
  // UTF-8 is compared with U+FFFD in place of the bad bytes.
  static int compare(std::string_view a, std::string_view b);
  static bool less(std::string_view a, std::string_view b) { return compare(a, b) < 0; }

  // The "name" of each record ("" without one) in this order, equal names in record order: the
  // rows of a list of records shown by name.
  static std::vector<std::string> sortedNames(const ExerciseRecords& records);

  // Row `row` of sortedNames; none past the end.
  static std::optional<std::string> nameOnRow(const ExerciseRecords& records, int row);
};

}  // namespace kinetra
