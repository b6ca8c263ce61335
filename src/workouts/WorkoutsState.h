#pragma once

namespace kinetra {

class ExercisePictures;
class UserData;
class WorkoutsNavigation;
struct Catalogue;
struct EditingFlags;
struct ExerciseList;
struct Selection;

// The parts of the shared state the workout screens read and write, and what they ask of the
// application. The referenced objects must outlive every screen made with it.
struct WorkoutsState {
  UserData& userData;
  Selection& selection;
  EditingFlags& flags;
  const Catalogue& catalogue;
  const ExerciseList& exerciseList;
  const ExercisePictures& pictures;
  WorkoutsNavigation& navigation;
};

}  // namespace kinetra
