#include "app/MainInterface.h"

#include "ui/Application.h"

namespace kinetra {

MainInterface::MainInterface(State state)
    : ExerciseTab(state.userData, state.selection, state.records),
      CatalogueTab(state.catalogue, state.userData, state.log),
      WorkoutsTabViews(state.workouts),
      RoutinesTabViews(state.workouts),
      LogTabViews(state.history),
      window(Application::shared().window()) {
  // The entry panes' log-settings rows lead to the log tab's pages.
  for (TableView* rows : {&loggingTabTableView, &loggingTabTableView2}) {
    rows->setDataSource(&logSettings);
    rows->setDelegate(&logSettings);
  }
  tabBarController.setViewControllers({&kinetraNavigationController, &targetNavigationController,
                                       &workoutsNavigationController, &routineNavigationController,
                                       &logNavigationController});
}

MainInterface::~MainInterface() = default;

}  // namespace kinetra
