#include "catalogue/MuscleText.h"

namespace kinetra {

namespace {

std::string describe(const PropertyList& record, std::string_view exercise) {
  const auto field = [&record](std::string_view key) {
    return std::string(recordString(record, key).value_or(""));
  };
  std::string text = "   Exercise: " + std::string(exercise);
  text += "\n   Primary Muscle: " + field("muscle1");
  text += "\n   Additional Muscles: ";
  text += recordString(record, "muscle2") ? field("muscle2") : std::string("none");
  for (std::string_view key : {"muscle3", "muscle4"}) {
    if (recordString(record, key)) text += ", " + field(key);
  }
  text += "\n   Skill Level: " + field("difficulty");
  return text;
}

}  // namespace

std::string MuscleText::forExercise(const ExerciseRecords& exercises, std::string_view exercise) {
  const ExerciseRecord record = recordNamed(exercises, exercise);
  return record == nullptr ? std::string() : describe(*record, exercise);
}

}  // namespace kinetra
