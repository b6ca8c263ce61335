#include "workouts/WorkoutsTabViews.h"

#include <string>

#include "model/EditingFlags.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "model/WorkoutList.h"
#include "ui/ScreenLayout.h"

namespace kinetra {

WorkoutsTabViews::WorkoutsTabViews(WorkoutsState state)
    : workoutsTable(*this, state),
      workoutsEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      addWorkoutButton("Add", BarButtonItemStyle::kBordered, {}),
      customWorkoutTableView(*this, state),
      saveWorkoutButton("Save", BarButtonItemStyle::kDone, {}),
      customWorkoutTableView2(state),
      singleWorkoutTableView(state),
      singleWorkoutNavigationTitle(singleWorkoutTableView.navigationItem()),
      newWorkoutView(ScreenLayout::contentView()),
      newWorkout(Rect{20, 20, 280, 31}),
      workoutsNavigationController(workoutsTable),
      state_(state) {
  workoutsEditButton.setAction([this](BarButtonItem&) { workoutsEdit(); });
  addWorkoutButton.setAction([this](BarButtonItem&) { AddSeparator(); });
  saveWorkoutButton.setAction([this](BarButtonItem&) { saveWorkout(); });
  workoutsTable.navigationItem().setRightBarButtonItem(&workoutsEditButton);
  workoutsTable.navigationItem().setLeftBarButtonItem(&addWorkoutButton);
  customWorkoutTableView.navigationItem().setRightBarButtonItem(&saveWorkoutButton);

  newWorkoutView.setTitle("New Workout");
  newWorkout.setBorderStyle(TextBorderStyle::kRoundedRect);
  newWorkout.setPlaceholder("workout name");
  newWorkout.setDelegate(this);
  newWorkoutView.view().addSubview(newWorkout);
  workoutsNavigationController.setTitle("Workouts");
}

void WorkoutsTabViews::workoutsEdit() {
  bool& editing = state_.flags.editing;
  TableView& list = workoutsTable.tableView();
  if (editing) {
    // A failed write is reported by the save itself; the next write carries the change.
    static_cast<void>(state_.userData.saveWorkouts());
    list.setEditing(false, Animated::Yes);
    workoutsEditButton.setTitle("Edit");
  } else {
    list.setEditing(true, Animated::Yes);
    workoutsEditButton.setTitle("Save");
  }
  editing = !editing;
}

void WorkoutsTabViews::AddSeparator() {
  workoutsNavigationController.pushViewController(newWorkoutView, Animated::Yes);
  newWorkout.becomeFirstResponder();
}

bool WorkoutsTabViews::textFieldShouldReturn(TextField& textField) {
  if (&textField != &newWorkout) return true;
  if (!WorkoutList::acceptsName(state_.userData.workouts, newWorkout.text())) return true;
  // A confirmed name always starts a new workout, whatever an abandoned adding pick left.
  state_.flags.addingExerciseToWorkout = false;
  startPick();
  return true;
}

void WorkoutsTabViews::customWorkoutAction() {
  if (!singleWorkoutSegmentedControl) return;
  const int segment = singleWorkoutSegmentedControl->selectedSegmentIndex();
  if (segment == kAddSegment) {
    state_.flags.addingExerciseToWorkout = true;
    startPick();
    return;
  }
  if (segment != kEditSegment) return;
  bool& editing = state_.flags.singleWorkoutEditing;
  TableView& workout = singleWorkoutTableView.tableView();
  if (editing) {
    workout.setEditing(false, Animated::Yes);
    singleWorkoutSegmentedControl->setTitle("Edit", kEditSegment);
    static_cast<void>(state_.userData.saveWorkouts());  // a failure is reported by the save
  } else {
    workout.setEditing(true, Animated::Yes);
    singleWorkoutSegmentedControl->setTitle("Save", kEditSegment);
  }
  editing = !editing;
}

void WorkoutsTabViews::saveWorkout() {
  if (state_.flags.addingExerciseToWorkout) {
    saveAddedExercises();
  } else {
    saveNewWorkout();
  }
}

void WorkoutsTabViews::startPick() {
  state_.selection.tempWorkout.clear();
  TableView& regions = customWorkoutTableView.tableView();
  regions.reloadData();
  regions.setContentOffset({0, 0}, Animated::No);
  workoutsNavigationController.pushViewController(customWorkoutTableView, Animated::Yes);
}

void WorkoutsTabViews::saveNewWorkout() {
  std::vector<std::string>& picked = state_.selection.tempWorkout;
  picked.insert(picked.begin(), newWorkout.text());
  WorkoutList::add(state_.userData.workouts, picked.front(),
                   std::vector<std::string>(picked.begin() + 1, picked.end()));
  workoutsTable.tableView().reloadData();
  static_cast<void>(state_.userData.saveWorkouts());  // a failure is reported by the save
  workoutsNavigationController.popViewControllerAnimated(Animated::No);
  workoutsNavigationController.popViewControllerAnimated(Animated::Yes);
}

void WorkoutsTabViews::saveAddedExercises() {
  state_.flags.addingExerciseToWorkout = false;
  if (state_.selection.currentWorkout) {
    WorkoutList::addExercises(state_.userData.workouts, *state_.selection.currentWorkout,
                              state_.selection.tempWorkout);
  }
  singleWorkoutTableView.tableView().reloadData();
  static_cast<void>(state_.userData.saveWorkouts());  // a failure is reported by the save
  workoutsNavigationController.popViewControllerAnimated(Animated::Yes);
}

}  // namespace kinetra
