#pragma once

#include <memory>

#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TextField.h"
#include "ui/TextFieldDelegate.h"
#include "ui/ViewController.h"
#include "workouts/CustomWorkoutTableController.h"
#include "workouts/CustomWorkoutTableController2.h"
#include "workouts/WorkoutsState.h"
#include "workouts/workoutsTableController.h"
#include "workouts/workoutsTableController2.h"

namespace kinetra {

// Tab 2, the workouts, made and laid out here with the actions of its controls: the workout
// list with its Add and Edit buttons, the page that names a new workout, the region chooser
// with its Save button, the exercise picker, and the workout screen with its "Add"/"Edit"
// control (made at start-up; its action is customWorkoutAction). The workouts file is written
// when either list leaves editing mode and when a pick is saved; deletions and moves before
// that change only the workouts in memory. The state handed in must outlive this object.
struct WorkoutsTabViews : public TextFieldDelegate {
  static constexpr int kAddSegment = 0;
  static constexpr int kEditSegment = 1;

  explicit WorkoutsTabViews(WorkoutsState state);
  WorkoutsTabViews(const WorkoutsTabViews&) = delete;
  WorkoutsTabViews& operator=(const WorkoutsTabViews&) = delete;

  workoutsTableController workoutsTable;  // root of the workouts tab
  BarButtonItem workoutsEditButton;
  BarButtonItem addWorkoutButton;
  CustomWorkoutTableController customWorkoutTableView;
  BarButtonItem saveWorkoutButton;
  CustomWorkoutTableController2 customWorkoutTableView2;
  workoutsTableController2 singleWorkoutTableView;
  NavigationItem& singleWorkoutNavigationTitle;
  std::unique_ptr<SegmentedControl> singleWorkoutSegmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> singleWorkoutButton;  // holds singleWorkoutSegmentedControl
  ViewController newWorkoutView;
  TextField newWorkout;

  NavigationController workoutsNavigationController;  // last: it holds its root screen

  // workoutsEdit: the list in or out of editing mode; leaving it writes the file.
  void workoutsEdit();
  // AddSeparator: the name page, with the keyboard; the field keeps its last text.
  void AddSeparator();
  // The name page's return key: a name that is empty or already a workout's is refused and the
  // page stays; any other starts the pick of the new workout's exercises.
  bool textFieldShouldReturn(TextField& textField) override;
  // The workout screen's control: "Add" picks exercises to add, "Edit" switches editing mode.
  void customWorkoutAction();
  // saveWorkout: ends the pick, making the new workout or adding to the current one.
  void saveWorkout();

 private:
  void startPick();
  void saveNewWorkout();
  void saveAddedExercises();

  WorkoutsState state_;
};

}  // namespace kinetra
