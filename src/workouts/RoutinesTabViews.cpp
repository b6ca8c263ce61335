#include "workouts/RoutinesTabViews.h"

#include "ui/ScreenLayout.h"

namespace kinetra {

RoutinesTabViews::RoutinesTabViews(WorkoutsState state)
    : routinesList(*this, state),
      routineTableView(*this, state),
      RoutineNavigationTitle(routineTableView.navigationItem()),
      RoutineTextView(ScreenLayout::contentView()),
      RoutineText(Rect{0, 0, ScreenLayout::kWidth, ScreenLayout::kContentHeight}),
      routineNavigationController(routinesList) {
  RoutineTextView.setTitle("Routine");
  RoutineText.setEditable(false);
  RoutineTextView.view().addSubview(RoutineText);
  routineNavigationController.setTitle("Routines");
}

}  // namespace kinetra
