#pragma once

#include <memory>

#include "app/PlaceholderTableScreen.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

namespace kinetra {

// Tab 2, the workouts: the list of workouts, the region chooser and the exercise picker, one
// workout's screen and the page that names a new workout. The workout screen's bar control and
// its bar item are made at start-up.
struct WorkoutsTab {
  WorkoutsTab();

  PlaceholderTableScreen workoutsTable;  // root of the workouts tab
  BarButtonItem workoutsEditButton;
  PlaceholderTableScreen customWorkoutTableView;
  PlaceholderTableScreen customWorkoutTableView2;
  PlaceholderTableScreen singleWorkoutTableView;
  NavigationItem& singleWorkoutNavigationTitle;
  std::unique_ptr<SegmentedControl> singleWorkoutSegmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> singleWorkoutButton;  // holds singleWorkoutSegmentedControl
  ViewController newWorkoutView;
  TextField newWorkout;

  NavigationController workoutsNavigationController;  // last: it holds its root screen
};

}  // namespace kinetra
