#pragma once

#include <string>
#include <string_view>

#include "model/ExerciseRecord.h"

namespace kinetra {

// The block of text that describes an exercise's muscles and skill level on the back of the
// exercise card: four lines, each label indented by three blanks,
//
//      Exercise: <name>
//      Primary Muscle: <muscle1>
//      Additional Muscles: <muscle2, or "none">[, <muscle3>][, <muscle4>]
//      Skill Level: <difficulty>
//
// built from the last record of `exercises` whose "name" is `exercise`; the empty text when no
// record has that name. Every piece is taken literally; a missing "muscle1" or "difficulty"
// leaves its place empty.
class MuscleText {
 public:
  static std::string forExercise(const ExerciseRecords& exercises, std::string_view exercise);
};

}  // namespace kinetra
