#pragma once

#include "app/CatalogueTab.h"
#include "app/ExerciseTab.h"
#include "logging/LogTabViews.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"
#include "workouts/RoutinesTabViews.h"
#include "workouts/WorkoutsTabViews.h"

namespace kinetra {

// The main interface resource, in code: the window's tab bar controller with its five tabs, each
// in a navigation controller. Each tab makes and lays out its own screens in its own unit; they
// are inherited here so that every screen and control keeps the one name the rest of the system
// knows it by (`interface().weight`, `interface().targetMenu`). What the screens do is given by
// the screens and the shared state, not here.
//
// Everything is owned here and lives as long as this object; views are put into each other by
// reference, so taking a view out of its superview never destroys it. Navigation titles are the
// navigation items of their screens. The run loop's thread only.
class MainInterface : public ExerciseTab,
                      public CatalogueTab,
                      public WorkoutsTabViews,
                      public RoutinesTabViews,
                      public LogTabViews {
 public:
  // What the screens read and write; it must outlive this object.
  struct State {
    UserData& userData;
    Selection& selection;
    RecordBook& records;
    DiagnosticLog& log;
    CatalogueState catalogue;
    HistoryState history;
    WorkoutsState workouts;
  };

  explicit MainInterface(State state);
  ~MainInterface();
  MainInterface(const MainInterface&) = delete;
  MainInterface& operator=(const MainInterface&) = delete;

  Window& window;  // the application's window
  TabBarController tabBarController;
};

}  // namespace kinetra
