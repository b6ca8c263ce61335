#pragma once

#include "app/PlaceholderTableScreen.h"
#include "ui/NavigationController.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"

namespace kinetra {

// Tab 3, the ready-made routines: their list and the page that shows one routine's text.
struct RoutinesTab {
  RoutinesTab();

  PlaceholderTableScreen routineTableView;  // root of the routines tab
  ViewController RoutineTextView;
  NavigationItem& RoutineNavigationTitle;
  TextView RoutineText;

  NavigationController routineNavigationController;  // last: it holds its root screen
};

}  // namespace kinetra
