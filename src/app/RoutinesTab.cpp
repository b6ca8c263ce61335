#include "app/RoutinesTab.h"

#include "ui/ScreenLayout.h"

namespace kinetra {

RoutinesTab::RoutinesTab()
    : routineTableView("Routines"),
      RoutineTextView(ScreenLayout::contentView()),
      RoutineNavigationTitle(RoutineTextView.navigationItem()),
      RoutineText(Rect{0, 0, ScreenLayout::kWidth, ScreenLayout::kContentHeight}),
      routineNavigationController(routineTableView) {
  RoutineText.setEditable(false);
  RoutineTextView.view().addSubview(RoutineText);
  routineNavigationController.setTitle("Routines");
}

}  // namespace kinetra
