#include "model/WorkoutList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinetra::test {
namespace {

using Array = PropertyList::Array;
using Names = std::vector<std::string>;

PropertyList twoWorkouts() {
  return Array{Array{"Legs", "Squat", "Lunge", "Calf Raise"}, Array{"Push", "Bench Press"}};
}

TEST(WorkoutListTest, ANewNameMustBeNonEmptyAndUnusedExactly) {
  const PropertyList workouts = twoWorkouts();
  EXPECT_FALSE(WorkoutList::acceptsName(workouts, ""));
  EXPECT_FALSE(WorkoutList::acceptsName(workouts, "Legs"));
  EXPECT_TRUE(WorkoutList::acceptsName(workouts, "legs"));   // letter case counts
  EXPECT_TRUE(WorkoutList::acceptsName(workouts, " "));      // only the empty text is refused
  EXPECT_TRUE(WorkoutList::acceptsName(workouts, "Legs "));  // no trimming
}

TEST(WorkoutListTest, AddingToAWorkoutAppendsOnlyWhatItLacksInOrder) {
  PropertyList workouts = twoWorkouts();
  WorkoutList::addExercises(workouts, 0, {"Deadlift", "Squat", "Leg Press", "Deadlift"});
  EXPECT_EQ(WorkoutList::exercisesOf(workouts, 0),
            (Names{"Squat", "Lunge", "Calf Raise", "Deadlift", "Leg Press"}));

  WorkoutList::add(workouts, " ", {});
  EXPECT_EQ(WorkoutList::count(workouts), 3u);
  EXPECT_EQ(WorkoutList::nameOf(workouts, 2), " ");
  EXPECT_TRUE(WorkoutList::exercisesOf(workouts, 2).empty());
}

TEST(WorkoutListTest, MovingAndDeletingExercisesNeverTouchTheName) {
  PropertyList workouts = twoWorkouts();
  ASSERT_TRUE(WorkoutList::moveExercise(workouts, 0, 2, 0));
  EXPECT_EQ(workouts.asArray()[0], PropertyList(Array{"Legs", "Calf Raise", "Squat", "Lunge"}));
  EXPECT_FALSE(WorkoutList::moveExercise(workouts, 0, 3, 0));  // only three exercises
  ASSERT_TRUE(WorkoutList::removeExercise(workouts, 0, 0));
  EXPECT_EQ(WorkoutList::exercisesOf(workouts, 0), (Names{"Squat", "Lunge"}));
  EXPECT_FALSE(WorkoutList::removeExercise(workouts, 1, 1));
  EXPECT_EQ(WorkoutList::nameOf(workouts, 1), "Push");

  ASSERT_TRUE(WorkoutList::move(workouts, 1, 0));
  EXPECT_EQ(WorkoutList::nameOf(workouts, 0), "Push");
  ASSERT_TRUE(WorkoutList::remove(workouts, 1));
  EXPECT_FALSE(WorkoutList::remove(workouts, 1));
  EXPECT_EQ(WorkoutList::count(workouts), 1u);
}

TEST(WorkoutListTest, ForeignValuesAreCountedAndKeptButNeverReplaced) {
  PropertyList workouts = Array{PropertyList(7), Array{PropertyList(true), "Squat"}, Array{}};
  EXPECT_EQ(WorkoutList::count(workouts), 3u);
  EXPECT_EQ(WorkoutList::nameOf(workouts, 0), "");
  EXPECT_EQ(WorkoutList::nameOf(workouts, 1), "");
  EXPECT_EQ(WorkoutList::exercisesOf(workouts, 1), Names{"Squat"});
  EXPECT_TRUE(WorkoutList::acceptsName(workouts, "Squat"));
  WorkoutList::addExercises(workouts, 0, {"Lunge"});  // not a workout: left alone
  EXPECT_EQ(workouts.asArray()[0], PropertyList(7));
  EXPECT_FALSE(WorkoutList::moveExercise(workouts, 2, 0, 0));

  PropertyList notAList = PropertyList::Dictionary{};
  WorkoutList::add(notAList, "Legs", {});
  EXPECT_EQ(WorkoutList::count(notAList), 0u);
}

TEST(WorkoutListTest, ATickTogglesAndKeepsTickingOrder) {
  Names picked;
  WorkoutList::toggle(picked, "Squat");
  WorkoutList::toggle(picked, "Lunge");
  WorkoutList::toggle(picked, "Squat");
  WorkoutList::toggle(picked, "Squat");
  EXPECT_EQ(picked, (Names{"Lunge", "Squat"}));
}

}  // namespace
}  // namespace kinetra::test
