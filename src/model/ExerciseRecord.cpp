#include "model/ExerciseRecord.h"

#include <algorithm>
#include <array>

namespace kinetra {

std::optional<std::string_view> recordString(const PropertyList& record, std::string_view key) {
  const PropertyList* value = record.find(key);
  if (value == nullptr || !value->isString()) return std::nullopt;
  return std::string_view(value->asString());
}

bool isAerobicExercise(std::string_view name) {
  static constexpr std::array<std::string_view, 9> kAerobic = {
      " treadmill", " cycling",      " elliptical", " jogging", " jump rope",
      " rowing",    " step machine", " swimming",   " tennis"};
  return std::find(kAerobic.begin(), kAerobic.end(), name) != kAerobic.end();
}

ExerciseRecord recordNamed(const ExerciseRecords& records, std::string_view name) {
  const auto found = std::find_if(records.rbegin(), records.rend(), [name](const auto& record) {
    return record != nullptr && recordString(*record, "name") == name;
  });
  return found == records.rend() ? nullptr : *found;
}

ExerciseRecord recordAtRow(const ExerciseRecords* records, int row) {
  if (records == nullptr || row < 0 || static_cast<std::size_t>(row) >= records->size()) {
    return nullptr;
  }
  return (*records)[static_cast<std::size_t>(row)];
}

}  // namespace kinetra
