#include "app/MainInterface.h"

#include "ui/Application.h"

namespace kinetra {

MainInterface::MainInterface(State state)
    : ExerciseTab(state.userData, state.selection),
      CatalogueTab(state.catalogue),
      window(Application::shared().window()) {
  tabBarController.setViewControllers({&kinetraNavigationController, &targetNavigationController,
                                       &workoutsNavigationController, &routineNavigationController,
                                       &logNavigationController});
}

MainInterface::~MainInterface() = default;

}  // namespace kinetra
