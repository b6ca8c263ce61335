#include "app/WorkoutsTab.h"

#include "ui/ScreenLayout.h"

namespace kinetra {

WorkoutsTab::WorkoutsTab()
    : workoutsTable("Workouts"),
      workoutsEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      customWorkoutTableView("Add Exercises"),
      customWorkoutTableView2("Add Exercises"),
      singleWorkoutTableView("Workout"),
      singleWorkoutNavigationTitle(singleWorkoutTableView.navigationItem()),
      newWorkoutView(ScreenLayout::contentView()),
      newWorkout(Rect{20, 20, 280, 31}),
      workoutsNavigationController(workoutsTable) {
  workoutsTable.navigationItem().setRightBarButtonItem(&workoutsEditButton);
  newWorkoutView.setTitle("New Workout");
  newWorkout.setBorderStyle(TextBorderStyle::kRoundedRect);
  newWorkout.setPlaceholder("workout name");
  newWorkoutView.view().addSubview(newWorkout);
  workoutsNavigationController.setTitle("Workouts");
}

}  // namespace kinetra
