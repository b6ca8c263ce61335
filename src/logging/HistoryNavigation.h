#pragma once

#include <string>

namespace kinetra {

class ViewController;

// What the history screens ask of the application: the shared state's day lists, the clock's
// day, and the exercise tab's navigation. The application implements it.
class HistoryNavigation {
 public:
  virtual ~HistoryNavigation() = default;

  // Rebuilds `limitedDates`: the days of either log less than `days` days before now.
  virtual void createLogDates(int days) = 0;
  // Rebuilds `previousDates`: the days on which `selectedExercise` has an entry.
  virtual void createPreviousDates() = 0;
  // The clock's current day, as a day string.
  virtual std::string clockDay() const = 0;
  // Pushes `page` (animated) onto the exercise tab's navigation controller.
  virtual void pushOnExerciseTab(ViewController& page) = 0;
};

}  // namespace kinetra
