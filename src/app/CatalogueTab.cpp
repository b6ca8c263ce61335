#include "app/CatalogueTab.h"

#include "catalogue/ExercisePictures.h"
#include "ui/ScreenLayout.h"

namespace kinetra {

namespace {

// The muscle label of the body map: wide enough for the longest title in bold 12.
constexpr double kLabelWidth = 150;
constexpr double kLabelHeight = 24;

}  // namespace

CatalogueTab::CatalogueTab(CatalogueState state, UserData& userData, DiagnosticLog& log)
    // The navigation controller is only kept by reference until it is made, last.
    : CustomExerciseViews(state, userData, targetNavigationController, log),
      targetMenu("Catalogue", state),
      targetTableView("Region", state),
      TargetNavigationTitle(targetTableView.navigationItem()),
      FullListTableView("All Exercises", state),
      muscleTableView2("Muscle", state),
      MuscleNavigationTitle(muscleTableView2.navigationItem()),
      bodyButtonView(Rect{0, 0, kLabelWidth, kLabelHeight}),
      bodyButtonLabel(ButtonType::kRoundedRect, Rect{0, 0, kLabelWidth, kLabelHeight}),
      body(state, state.pictures.namedPicture("body"), bodyButtonView, bodyButtonLabel),
      bodyNavigationTitle(body.navigationItem()),
      targetNavigationController(targetMenu) {
  bodyButtonView.addSubview(bodyButtonLabel);
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
  body.hideLabel();
  targetNavigationController.pushViewController(body, Animated::Yes);
}

void CatalogueTab::pushMuscleList(const std::string& muscle) {
  TableView& list = muscleTableView2.tableView();
  list.setContentOffset({0, 0}, Animated::No);
  list.reloadData();
  MuscleNavigationTitle.setTitle(muscle);
  targetNavigationController.pushViewController(muscleTableView2, Animated::Yes);
}

void CatalogueTab::pushCompleteList() {
  FullListTableView.tableView().setContentOffset({0, 0}, Animated::No);
  targetNavigationController.pushViewController(FullListTableView, Animated::Yes);
}

void CatalogueTab::pushCustomExercises() {
  targetNavigationController.pushViewController(customExercisesTableView, Animated::Yes);
}

void CatalogueTab::pushNewCustomExercise() { openNewExercise(); }

}  // namespace kinetra
