#include "model/UserData.h"

#include <system_error>
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
  if (status.ok() && supersededFile_) {
    std::error_code ignored;
    std::filesystem::remove(*supersededFile_, ignored);
    supersededFile_.reset();
  }
  return status;
}

Status UserData::savePicture(std::string_view fileName, std::string_view bytes) {
  return files_.writePicture(fileName, bytes);
}

Status UserData::saveCustomExercises() {
  PropertyList::Array records;
  records.reserve(customExercises.size());
  for (const ExerciseRecord& record : customExercises) {
    if (record != nullptr) records.push_back(*record);
  }
  return files_.write(UserFile::kCustomExercises, PropertyList(std::move(records)));
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
