#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Date.h"
#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"

namespace kinetra {

// A list of logged days built from the date keys of the logs: each key is read back into the
// first moment of its day, the moments are sorted oldest first, and each is written again in
// the formatter's form, so the days are always in the current date style whatever the keys
// looked like.
//
// A key the formatter cannot read (written under another locale or date style) is not a day
// of the list; it is named in `skippedKeys` so the caller can report it, and the logs are never
// changed.
struct DayList {
  std::vector<std::string> days;         // oldest first
  std::vector<std::string> skippedKeys;  // in key order

  // The days of `log` (a dictionary: day key → exercise name → entry) on which `exercise` has
  // an entry; an emptied entry counts. Anything that is not a dictionary has no days.
  static DayList daysWithExercise(const PropertyList& log, std::string_view exercise,
                                  const DateFormatter& formatter);

  // The days of either log less than `days` × 86400 seconds before `now`, each listed once
  // however many logs have it. Days after `now` are always in.
  static DayList daysWithin(const PropertyList& strengthLog, const PropertyList& aerobicLog,
                            Date now, int days, const DateFormatter& formatter);
};

}  // namespace kinetra
