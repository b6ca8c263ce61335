#include "model/UserData.h"

#include <utility>

#include "model/UserFileStore.h"

namespace kinetra {

void UserData::load() {
  if (auto value = files_.load(UserFile::kWorkouts)) workouts = std::move(*value);
  if (auto value = files_.load(UserFile::kExerciseLog)) exerciseLog = std::move(*value);
  if (auto value = files_.load(UserFile::kSettings)) settings = std::move(*value);
  if (auto value = files_.load(UserFile::kAerobicsLog)) aerobicsLog = std::move(*value);
  if (auto value = files_.load(UserFile::kCustomExercises)) {
    customExercises.clear();
    for (PropertyList& record : value->asArray()) {
      customExercises.push_back(std::make_shared<PropertyList>(std::move(record)));
    }
  }
}

Status UserData::saveWorkouts() {
  Status status = files_.write(UserFile::kWorkouts, workouts);
  // The file is forgotten even when it stays: start-up finds its workouts saved and removes it.
  if (status.ok() && supersededFile_) {
    static_cast<void>(files_.removeFile(*supersededFile_));
    supersededFile_.reset();
  }
  return status;
}

Status UserData::savePicture(std::string_view fileName, std::string_view bytes) {
  keepPicture(fileName, bytes);
  auto kept = unsavedPictures_.find(fileName);
  return writeKeptPicture(kept);
}

void UserData::keepPicture(std::string_view fileName, std::string_view bytes) {
  unsavedPictures_.insert_or_assign(std::string(fileName), std::string(bytes));
}

const std::string* UserData::unsavedPicture(std::string_view fileName) const {
  const auto kept = unsavedPictures_.find(fileName);
  return kept == unsavedPictures_.end() ? nullptr : &kept->second;
}

Status UserData::writeKeptPicture(UnsavedPictures::iterator& kept) {
  Status status = files_.writePicture(kept->first, kept->second);
  if (isSettled(status)) {
    kept = unsavedPictures_.erase(kept);
  } else {
    ++kept;
  }
  return status;
}

bool UserData::isSettled(const Status& pictureSave) {
  // Saved, or a name no picture can have: nothing is left to retry.
  return pictureSave.ok() || pictureSave.code() == Status::Code::kInvalidArgument;
}

Status UserData::saveUnsavedPictures() {
  Status first = Status::Ok();
  for (auto kept = unsavedPictures_.begin(); kept != unsavedPictures_.end();) {
    Status status = writeKeptPicture(kept);
    if (first.ok() && !isSettled(status)) first = std::move(status);
  }
  return first;
}

Status UserData::saveCustomExercises() {
  Status pictures = saveUnsavedPictures();
  PropertyList::Array records;
  records.reserve(customExercises.size());
  for (const ExerciseRecord& record : customExercises) {
    if (record != nullptr) records.push_back(*record);
  }
  Status status = files_.write(UserFile::kCustomExercises, PropertyList(std::move(records)));
  return status.ok() ? pictures : status;
}

Status UserData::saveExerciseLog() { return files_.write(UserFile::kExerciseLog, exerciseLog); }

Status UserData::saveAerobicsLog() { return files_.write(UserFile::kAerobicsLog, aerobicsLog); }

Status UserData::saveExerciseLog(std::span<const std::string> changedDays) {
  return files_.writeChanged(UserFile::kExerciseLog, exerciseLog, changedDays);
}

Status UserData::saveAerobicsLog(std::span<const std::string> changedDays) {
  return files_.writeChanged(UserFile::kAerobicsLog, aerobicsLog, changedDays);
}

void UserData::prepareLogChanges() {
  files_.prepareChanges(UserFile::kExerciseLog, exerciseLog);
  files_.prepareChanges(UserFile::kAerobicsLog, aerobicsLog);
}

Status UserData::saveSettings() { return files_.write(UserFile::kSettings, settings); }

void UserData::removeAfterWorkoutsSaved(std::filesystem::path file) {
  supersededFile_ = std::move(file);
}

}  // namespace kinetra
