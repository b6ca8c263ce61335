#pragma once

#include <string>

namespace kinetra {

// What the workout screens ask of the application. The application implements it.
class WorkoutsNavigation {
 public:
  virtual ~WorkoutsNavigation() = default;

  // Opens the exercise of a workout on the exercise screen, with the workouts tab as the way
  // back.
  virtual void openWorkoutExercise(const std::string& name) = 0;
};

}  // namespace kinetra
