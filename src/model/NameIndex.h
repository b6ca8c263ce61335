#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/ExerciseRecord.h"

namespace kinetra {

// The sections of the complete exercise list: one section per distinct first character of the
// records' names, keyed by that character compared exactly ("a" and "A" are two sections),
// holding its records in list order. The keys are put in display order by the locale's
// case-insensitive comparison (an ICU collator at secondary strength: case is ignored, accents
// are not), so " " (the nine aerobic exercises) comes first and "b" before "S".
//
// Not thread-safe (the collator is kept); the run loop's thread only.
class NameIndex {
 public:
  using Sections = std::map<std::string, ExerciseRecords, std::less<>>;

  // A comparison for the locale with this ICU id ("en_US"); the root collation when ICU does
  // not know it.
  explicit NameIndex(const std::string& locale);
  ~NameIndex();
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;

  // Rebuilds `sections` and `keys` from `exercises`. The records are shared, not copied. A
  // record without a non-empty string "name" has no first character and is left out.
  void build(const ExerciseRecords& exercises, Sections& sections,
             std::vector<std::string>& keys) const;

  // Negative, zero or positive as `a` sorts before, with or after `b`, ignoring case.
  int compare(std::string_view a, std::string_view b) const;

  // The first character of a UTF-8 name (one code point, all its bytes); empty for an empty
  // name.
  static std::string firstCharacter(std::string_view name);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kinetra
