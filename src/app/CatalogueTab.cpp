#include "app/CatalogueTab.h"

#include "ui/ScreenLayout.h"

namespace kinetra {

CatalogueTab::CatalogueTab(CatalogueState state)
    : targetMenu("Catalogue", state),
      targetTableView("Region", state),
      TargetNavigationTitle(targetTableView.navigationItem()),
      FullListTableView("All Exercises", state),
      muscleTableView2("Muscle", state),
      MuscleNavigationTitle(muscleTableView2.navigationItem()),
      body(ScreenLayout::contentView()),
      bodyNavigationTitle(body.navigationItem()),
      bodyImage(Rect{0, 0, ScreenLayout::kWidth, ScreenLayout::kContentHeight}),
      bodyButtonView(Rect{0, 0, 120, 24}),
      bodyButtonLabel(Rect{0, 0, 120, 24}),
      customExercisesTableView("Custom Exercises"),
      customExercisesNavigationTitle(customExercisesTableView.navigationItem()),
      addExercisesTableView("Add Exercise", TableViewStyle::kGrouped),
      addExercisesNavigationTitle(addExercisesTableView.navigationItem()),
      customTargetTableView("Region"),
      customDifficultyTableView("Skill Level"),
      customMuscleTableView("Muscle"),
      customName(Rect{10, 10, 280, 31}),
      CustomDescription(Rect{10, 10, 280, 120}),
      targetNavigationController(targetMenu) {
  body.setTitle("Muscles");
  bodyButtonView.addSubview(bodyButtonLabel);
  body.view().addSubview(bodyImage);
  customName.setBorderStyle(TextBorderStyle::kRoundedRect);
  targetNavigationController.setTitle("Catalogue");
}

void CatalogueTab::pushRegionList(const std::string& region) {
  TableView& list = targetTableView.tableView();
  list.setContentOffset({0, 0}, Animated::No);
  list.reloadData();
  TargetNavigationTitle.setTitle(region);
  targetNavigationController.pushViewController(targetTableView, Animated::Yes);
}

void CatalogueTab::pushBodyMap() {
  // The muscle label an earlier touch on the map left there goes, so the map opens without it.
  if (bodyButtonView.superview() == &body.view()) bodyButtonView.removeFromSuperview();
  targetNavigationController.pushViewController(body, Animated::Yes);
}

void CatalogueTab::pushCompleteList() {
  FullListTableView.tableView().setContentOffset({0, 0}, Animated::No);
  targetNavigationController.pushViewController(FullListTableView, Animated::Yes);
}

void CatalogueTab::pushCustomExercises() {
  targetNavigationController.pushViewController(customExercisesTableView, Animated::Yes);
}

void CatalogueTab::pushNewCustomExercise() {
  targetNavigationController.pushViewController(addExercisesTableView, Animated::Yes);
}

}  // namespace kinetra
