#include "catalogue/MuscleText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kinetra {
namespace {

ExerciseRecord record(PropertyList::Dictionary fields) {
  return std::make_shared<PropertyList>(std::move(fields));
}

TEST(MuscleTextTest, FourLinesWithTheAdditionalMusclesJoined) {
  const ExerciseRecords exercises = {record({{"name", "Bench Press"},
                                             {"muscle1", "Pectoralis"},
                                             {"muscle2", "Deltoids"},
                                             {"muscle4", "Triceps Brachii"},
                                             {"difficulty", "Beginner"}})};
  EXPECT_EQ(MuscleText::forExercise(exercises, "Bench Press"),
            "   Exercise: Bench Press\n   Primary Muscle: Pectoralis\n"
            "   Additional Muscles: Deltoids, Triceps Brachii\n   Skill Level: Beginner");
}

TEST(MuscleTextTest, AMissingSecondMuscleReadsNone) {
  const ExerciseRecords exercises = {
      record({{"name", "Dip"}, {"muscle1", "Triceps"}, {"difficulty", "Advanced"}}),
      record({{"name", "Row"}, {"muscle1", "Lats"}, {"muscle3", "Biceps"}, {"difficulty", "x"}})};
  EXPECT_EQ(MuscleText::forExercise(exercises, "Dip"),
            "   Exercise: Dip\n   Primary Muscle: Triceps\n   Additional Muscles: none\n"
            "   Skill Level: Advanced");
  EXPECT_NE(MuscleText::forExercise(exercises, "Row").find("Additional Muscles: none, Biceps\n"),
            std::string::npos);
}

TEST(MuscleTextTest, TheLastRecordOfTheNameWinsAndTextIsLiteral) {
  const ExerciseRecords exercises = {
      record({{"name", "Curl %@"}, {"muscle1", "A"}, {"difficulty", "1"}}), nullptr,
      std::make_shared<PropertyList>("a record that is not a dictionary"),
      record({{"name", "Curl %@"}, {"muscle1", "B %d"}, {"muscle2", "n/a"}, {"difficulty", "2"}})};
  EXPECT_EQ(MuscleText::forExercise(exercises, "Curl %@"),
            "   Exercise: Curl %@\n   Primary Muscle: B %d\n   Additional Muscles: n/a\n"
            "   Skill Level: 2");
  EXPECT_EQ(MuscleText::forExercise(exercises, "Squat"), "");
}

}  // namespace
}  // namespace kinetra
