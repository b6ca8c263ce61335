#pragma once

#include "ui/NavigationController.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"
#include "workouts/RoutinesTableController.h"
#include "workouts/RoutinesTableController2.h"
#include "workouts/WorkoutsState.h"

namespace kinetra {

// Tab 3, the ready-made routines, made and laid out here: the routine list, the routine screen
// (`routineTableView`, titled through `RoutineNavigationTitle`) and the page that shows a
// routine's whole text. The state handed in must outlive this object.
struct RoutinesTabViews {
  explicit RoutinesTabViews(WorkoutsState state);
  RoutinesTabViews(const RoutinesTabViews&) = delete;
  RoutinesTabViews& operator=(const RoutinesTabViews&) = delete;

  RoutinesTableController routinesList;  // root of the routines tab
  RoutinesTableController2 routineTableView;
  NavigationItem& RoutineNavigationTitle;
  ViewController RoutineTextView;
  TextView RoutineText;

  NavigationController routineNavigationController;  // last: it holds its root screen
};

}  // namespace kinetra
