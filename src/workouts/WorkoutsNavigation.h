#pragma once

#include <string>

namespace kinetra {

// What the workout and routine screens ask of the application. The application implements it.
class WorkoutsNavigation {
 public:
  virtual ~WorkoutsNavigation() = default;

  // Opens the exercise of a workout on the exercise screen, with the workouts tab as the way
  // back.
  virtual void openWorkoutExercise(const std::string& name) = 0;
  // Goes straight to log entry for row `row` of the workout screen: the paging log panels
  // built around that row.
  virtual void logFromWorkoutRow(int row) = 0;
  // Opens the exercise of a routine on the exercise screen, the routines tab the way back.
  virtual void openRoutineExercise(const std::string& name) = 0;
  // Goes straight to log entry for the exercise of a routine: its own entry pane, filled from
  // its latest logged day, the routines tab the way back.
  virtual void quickLogRoutineExercise(const std::string& name) = 0;
};

}  // namespace kinetra
