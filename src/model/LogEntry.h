#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/PropertyList.h"
#include "foundation/Status.h"

namespace kinetra {

// The entries of a log (day string → exercise name → flat array of strings, three per strength
// set or five per aerobic set). A log read from a file can hold anything; every value of the
// wrong kind reads as missing, and is never a reason to crash.
class LogEntry {
 public:
  // The entry of `exercise` on `day`; null when the log is not a dictionary, or the day or
  // the entry is missing or of another kind.
  static const PropertyList::Array* find(const PropertyList& log, std::string_view day,
                                         std::string_view exercise);
  static PropertyList::Array* find(PropertyList& log, std::string_view day,
                                   std::string_view exercise);

  // Appends `values` to the entry of `exercise` on `day`, making the day and the entry when
  // they are missing. A log, day or entry of another kind (a hand-edited or foreign file) is
  // never replaced: nothing is appended and the error says what stands in the way.
  [[nodiscard]] static Status append(PropertyList& log, std::string_view day,
                                     std::string_view exercise,
                                     const std::vector<std::string>& values);

  // Removes group `group` of `groupSize` elements (a set); false, and nothing changed, when the
  // entry holds no complete group there.
  static bool removeGroup(PropertyList::Array& entry, std::size_t group, std::size_t groupSize);

  // The exercise names logged on `day`, in key order; none when the day is missing or not a
  // dictionary.
  static std::vector<std::string> exercisesOn(const PropertyList& log, std::string_view day);

  // Removes `day` with every entry under it; false when the log has no such day.
  static bool removeDay(PropertyList& log, std::string_view day);

  // Element `index` of an entry as text; "" when missing or not a string.
  static std::string_view text(const PropertyList::Array& entry, std::size_t index);
};

}  // namespace kinetra
