#pragma once

#include "model/ExerciseRecord.h"

namespace kinetra {

class CatalogueNavigation;
class ExercisePictures;
struct Catalogue;
struct EditingFlags;
struct ExerciseList;
struct Selection;

// The parts of the shared state the catalogue's lists read and write, and the way they ask for
// other screens. The referenced objects must outlive every list made with it.
struct CatalogueState {
  const Catalogue& catalogue;
  const ExerciseList& exerciseList;
  // The user's own exercises, as stored.
  const ExerciseRecords& customExercises;
  Selection& selection;
  EditingFlags& flags;
  const ExercisePictures& pictures;
  CatalogueNavigation& navigation;
};

}  // namespace kinetra
