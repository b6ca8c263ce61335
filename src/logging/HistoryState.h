#pragma once

namespace kinetra {

class ExercisePictures;
class HistoryNavigation;
class RecordBook;
class UserData;
struct Catalogue;
struct EditingFlags;
struct ExerciseList;
struct Selection;

// The parts of the shared state the history screens read and write, and what they ask of the
// application. The referenced objects must outlive every screen made with it.
struct HistoryState {
  UserData& userData;
  Selection& selection;
  EditingFlags& flags;
  const Catalogue& catalogue;
  const ExerciseList& exerciseList;
  const ExercisePictures& pictures;
  HistoryNavigation& navigation;
  // Told of every day removed.
  RecordBook& records;
};

}  // namespace kinetra
