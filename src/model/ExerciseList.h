#pragma once

#include <string>
#include <vector>

#include "model/ExerciseRecord.h"
#include "model/NameIndex.h"

namespace kinetra {

// Every exercise the screens offer and the name index over them: the catalogue's records
// followed by the user's own (the very records of the custom exercises, shared). Rebuilt
// whenever the custom exercises change.
struct ExerciseList {
  ExerciseRecords exercises;
  // The records under each index key, and the keys in index order.
  NameIndex::Sections indexedExercises;
  std::vector<std::string> exerciseNameIndexArray;
};

}  // namespace kinetra
