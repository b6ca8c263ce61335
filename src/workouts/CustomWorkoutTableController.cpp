#include "workouts/CustomWorkoutTableController.h"

#include "catalogue/ExercisePictures.h"
#include "model/Catalogue.h"
#include "model/ExerciseList.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "ui/Font.h"
#include "workouts/WorkoutsTabViews.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";
constexpr const char* kCustomRow = "custom exercises";

bool inRegion(const PropertyList& record, std::string_view region) {
  return recordString(record, "target1") == region || recordString(record, "target2") == region;
}

}  // namespace

CustomWorkoutTableController::CustomWorkoutTableController(WorkoutsTabViews& views,
                                                           WorkoutsState state)
    : views_(views), state_(state) {
  setTitle("Add Exercises");
}

int CustomWorkoutTableController::regionCount() const {
  return static_cast<int>(state_.catalogue.targets.size());
}

int CustomWorkoutTableController::numberOfRowsInSection(TableView&, int) {
  return regionCount() + (state_.userData.customExercises.empty() ? 0 : 1);
}

std::unique_ptr<TableViewCell> CustomWorkoutTableController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  if (indexPath.row >= 0 && indexPath.row < regionCount()) {
    const std::string& region = state_.catalogue.targets[static_cast<std::size_t>(indexPath.row)];
    cell->setFont(Font::boldSystemFontOfSize(kFontSize));
    cell->setText(region);
    cell->setImage(state_.pictures.namedPicture(region));
  } else {
    cell->setFont(Font::italicSystemFontOfSize(kFontSize));
    cell->setText(kCustomRow);
    cell->setImage(Image());
  }
  return cell;
}

void CustomWorkoutTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const int regions = regionCount();
  if (indexPath.row < 0 || indexPath.row > regions) return;
  Selection& selection = state_.selection;
  ExerciseRecords& offered = selection.targetExercises;
  offered.clear();
  if (indexPath.row == regions) {
    if (state_.userData.customExercises.empty()) return;
    offered = state_.userData.customExercises;
  } else {
    selection.selectedTarget = state_.catalogue.targets[static_cast<std::size_t>(indexPath.row)];
    for (const ExerciseRecord& record : state_.exerciseList.exercises) {
      if (record != nullptr && inRegion(*record, selection.selectedTarget)) {
        offered.push_back(record);
      }
    }
  }
  TableView& picker = views_.customWorkoutTableView2.tableView();
  picker.setContentOffset({0, 0}, Animated::No);
  picker.reloadData();
  views_.workoutsNavigationController.pushViewController(views_.customWorkoutTableView2,
                                                         Animated::Yes);
}

void CustomWorkoutTableController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                            IndexPath indexPath) {
  selectAndChooseRow(tableView, indexPath);
}

}  // namespace kinetra
