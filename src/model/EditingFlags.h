#pragma once

namespace kinetra {

// The screens' modes: which side of the exercise card shows, which table is being edited, where
// the entry pane was opened from. All start false; start-up sets the first values.
struct EditingFlags {
  bool backViewIsVisible = false;
  // The card has left its start-up logo.
  bool doneLogo = false;
  bool flipEnabled = false;
  // The entry pane's table is in editing mode.
  bool logEditing = false;
  // The list of history days is in editing mode.
  bool datesEdit = false;
  // The list of the user's own exercises is in editing mode.
  bool customEditing = false;
  bool editingCustomExercise = false;
  bool selectedCustomImage = false;
  // The entry pane was opened from a workout: it shows the paging panels.
  bool useLogScroll = false;
  bool refreshLogScroll = false;
  // The workout list is in editing mode.
  bool editing = false;
  // The workout screen is in editing mode.
  bool singleWorkoutEditing = false;
  // The current pick adds to the current workout rather than making a new one.
  bool addingExerciseToWorkout = false;
};

}  // namespace kinetra
