#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "foundation/PropertyList.h"
#include "model/ExerciseRecord.h"

namespace kinetra {

// What the user is looking at and working on: the selected exercise, the logging day, the day
// lists built for them and the browsing lists. Never stored; start-up gives the first values.
struct Selection {
  std::string selectedExercise;
  // The logging day, as a day string.
  std::string today;
  // A day string, "none" after start-up, or no value.
  std::optional<std::string> selectedDate;
  // The days on which `selectedExercise` has an entry, oldest first.
  std::vector<std::string> previousDates;
  // The days of either log within the chosen period, oldest first.
  std::vector<std::string> limitedDates;
  // The weight text of the last strength set logged.
  std::string fixedWeight;
  // The region opened last, and its records.
  std::string selectedTarget;
  ExerciseRecords targetExercises;
  // The records of the muscle chosen on the body map.
  ExerciseRecords primaryMuscle;
  ExerciseRecords additionalMuscle;
  // The tab an exercise was opened from: the way back from the exercise screen.
  int lastTabIndex = 0;
  // A copy of the routine shown on the routine screen.
  PropertyList selectedRoutine = PropertyList::Dictionary{};
  // The exercise names ticked in the current pick of a workout's exercises, in ticking order.
  std::vector<std::string> tempWorkout;
  // The workout open on the workout screen: set where its row of the list is chosen, moved with
  // it, cleared when it is deleted.
  std::optional<std::size_t> currentWorkout;
};

}  // namespace kinetra
