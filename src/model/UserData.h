#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "foundation/PropertyList.h"
#include "foundation/Status.h"
#include "model/ExerciseRecord.h"

namespace kinetra {

class UserFileStore;

// The user's data, in the shape of their files. Loaded at start-up; the fields in memory are
// authoritative, and after changing one a screen writes it with the matching save, whole and
// atomically. A failed save is reported as a diagnostic line (by the store) and returned; the
// field keeps its value for the next save. The store must outlive this object.
class UserData {
 public:
  explicit UserData(UserFileStore& files) : files_(files) {}
  UserData(const UserData&) = delete;
  UserData& operator=(const UserData&) = delete;

  PropertyList workouts = PropertyList::Array{};
  // Shared with the exercise list (see ExerciseRecord).
  ExerciseRecords customExercises;
  PropertyList exerciseLog = PropertyList::Dictionary{};
  PropertyList aerobicsLog = PropertyList::Dictionary{};
  PropertyList settings = PropertyList::Dictionary{};

  // Loads each file that is there and readable; the others keep their empty values.
  void load();

  Status saveWorkouts();
  Status saveCustomExercises();
  Status saveExerciseLog();
  Status saveAerobicsLog();
  // The same when only the days `changedDays` of the log were added, changed or removed since
  // its last save: the other days are written from the bytes kept of that save. Naming a day
  // that did not change costs time, never correctness; leaving out one that did is a fault
  // (debug builds stop on it).
  Status saveExerciseLog(std::span<const std::string> changedDays);
  Status saveAerobicsLog(std::span<const std::string> changedDays);
  Status saveSettings();
  // Readies both logs for saves of their changed days (UserFileStore::prepareChanges): the first
  // set logged is then saved as quickly as the next. Meant for idle time after loading.
  void prepareLogChanges();
  // Writes the picture file `fileName` of a custom exercise (PNG bytes), whole and atomically.
  // A picture whose save fails is kept as keepPicture keeps it, so that a photo the user picked
  // is not lost to a full or failing disk while the record naming it is saved.
  Status savePicture(std::string_view fileName, std::string_view bytes);
  // Gives a custom exercise the picture file `fileName` (PNG bytes) to be written by the next
  // save of the custom exercises, before their records; until it is written it is shown from
  // memory (unsavedPicture), and a save that fails keeps it for the next.
  void keepPicture(std::string_view fileName, std::string_view bytes);
  // The bytes of the picture `fileName` while it waits to be written; null otherwise. The
  // pointer lives until the next save of a picture or the custom exercises.
  const std::string* unsavedPicture(std::string_view fileName) const;

  // `file` (an older version's file whose content now lives in the workouts) is removed after
  // the next successful save of the workouts, and not before.
  void removeAfterWorkoutsSaved(std::filesystem::path file);

 private:
  using UnsavedPictures = std::map<std::string, std::string, std::less<>>;

  // Tries the pictures kept by failed saves again; the first failure is returned.
  Status saveUnsavedPictures();
  // Writes the kept picture `kept` and moves it past: forgotten once settled.
  Status writeKeptPicture(UnsavedPictures::iterator& kept);
  // True when a picture's save leaves nothing to retry.
  static bool isSettled(const Status& pictureSave);

  UserFileStore& files_;
  std::optional<std::filesystem::path> supersededFile_;
  UnsavedPictures unsavedPictures_;
};

}  // namespace kinetra
