#pragma once

#include <memory>

#include "ui/TableViewController.h"
#include "workouts/WorkoutsState.h"

namespace kinetra {

class Control;
class Event;

// The exercise picker of a pick: the records of `targetExercises` by name, in case-insensitive
// order, each with its thumbnail and a tick button ("checkMark.gif" when the name is in
// `tempWorkout`, else "unchecked.jpg"). Choosing a row, or its tick button, ticks or unticks the
// name.
class CustomWorkoutTableController2 : public TableViewController {
 public:
  explicit CustomWorkoutTableController2(WorkoutsState state);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

  // checkButtonTapped:event: the row under the event's touch, as if it were chosen; a touch
  // outside every row does nothing.
  void checkButtonTapped(Control& sender, const Event& event);

 private:
  WorkoutsState state_;
};

}  // namespace kinetra
