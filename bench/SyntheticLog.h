#pragma once

#include <cstdint>

#include "foundation/PropertyList.h"

namespace kinetra {

// Strength logs in the stored layout for benchmarks: date key ("Jan 5, 2010") → exercise name →
// flat array of strings, three per set (weight text, repetitions, note). Deterministic: the same
// options give the same value on every machine.
class SyntheticLog {
 public:
  struct Options {
    int trainingDays = 208;   // four a week, from Monday, Jan 4, 2010
    int exercisesPerDay = 6;  // distinct names out of kExerciseNames
    int fewestSets = 3;
    int mostSets = 5;
    std::uint64_t seed = 2010;
  };

  static constexpr int kExerciseNames = 150;

  // One year of training: 208 days, 6 exercises, 3 to 5 sets.
  static Options oneYear() { return Options{}; }
  // Ten heavy years: 2,080 days, 8 exercises, 4 to 6 sets (about 7 MB of XML).
  static Options tenYearsHeavy() { return Options{2080, 8, 4, 6, 2020}; }

  static PropertyList make(const Options& options);
  // The aerobic log of the same days: on every day of `strengthLog`, one or two of the nine
  // aerobic exercises, one to three bouts each, five strings per bout.
  static PropertyList aerobicFor(const PropertyList& strengthLog);
};

}  // namespace kinetra
