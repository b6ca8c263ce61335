#include "catalogue/TargetTableController.h"

#include <utility>

#include "catalogue/CatalogueCell.h"
#include "catalogue/CatalogueNavigation.h"
#include "catalogue/ExercisePictures.h"
#include "model/Catalogue.h"
#include "model/EditingFlags.h"
#include "model/ExerciseList.h"
#include "model/Selection.h"
#include "ui/Font.h"
#include "ui/Label.h"

namespace kinetra {

namespace {

constexpr double kFontSize = 16;

int regionCount(const CatalogueState& state) {
  return static_cast<int>(state.catalogue.targets.size());
}

// Whether a record belongs to the region: its "target1", failing that its "target2".
bool inRegion(const PropertyList& record, std::string_view region) {
  return recordString(record, "target1") == region || recordString(record, "target2") == region;
}

void openCustomExercises(const CatalogueState& state) {
  state.flags.selectedCustomImage = false;
  if (!state.customExercises.empty()) {
    state.navigation.showCustomExercises();
    return;
  }
  state.flags.editingCustomExercise = false;
  state.navigation.showNewCustomExercise();
}

void openRegion(const CatalogueState& state, const std::string& region) {
  state.selection.selectedTarget = region;
  ExerciseRecords& members = state.selection.targetExercises;
  members.clear();
  for (const ExerciseRecord& record : state.exerciseList.exercises) {
    if (record != nullptr && inRegion(*record, region)) members.push_back(record);
  }
  state.navigation.showRegion(region);
}

}  // namespace

TargetTableController::TargetTableController(std::string title, CatalogueState state)
    : state_(state) {
  setTitle(std::move(title));
}

int TargetTableController::numberOfRowsInSection(TableView&, int section) {
  return section == 0 ? regionCount(state_) + 2 : 1;
}

std::unique_ptr<TableViewCell> TargetTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                            IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = CatalogueCell::reuse(tableView);
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  cell->setImage(Image());
  const int regions = regionCount(state_);
  if (indexPath.section != 0) {
    // "No font set": the label's own default, put back since the cell may have been reused.
    cell->setFont(Label().font());
    cell->setText("Add/Edit Custom Exercises");
  } else if (indexPath.row < regions) {
    const std::string& region = state_.catalogue.targets[static_cast<std::size_t>(indexPath.row)];
    cell->setFont(Font::boldSystemFontOfSize(kFontSize));
    cell->setText(region);
    cell->setImage(state_.pictures.namedPicture(region));
  } else {
    cell->setFont(Font::italicSystemFontOfSize(kFontSize));
    cell->setText(indexPath.row == regions ? "exercises by muscle" : "complete list of exercises");
  }
  return cell;
}

std::optional<double> TargetTableController::heightForRowAtIndexPath(TableView&,
                                                                     IndexPath indexPath) {
  const int regions = regionCount(state_);
  if (indexPath.row == regions || indexPath.row == regions + 1) return 36;
  if (indexPath.row == 4) return 40;
  return 33;
}

void TargetTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const int regions = regionCount(state_);
  if (indexPath.section != 0) {
    openCustomExercises(state_);
  } else if (indexPath.row == regions + 1) {
    state_.navigation.showCompleteList();
  } else if (indexPath.row == regions) {
    state_.navigation.showBodyMap();
  } else if (indexPath.row >= 0 && indexPath.row < regions) {
    // A copy: the region name outlives any change to `targets` made while it is opened.
    const std::string region = state_.catalogue.targets[static_cast<std::size_t>(indexPath.row)];
    openRegion(state_, region);
  }
}

void TargetTableController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                     IndexPath indexPath) {
  selectAndChooseRow(tableView, indexPath);
}

}  // namespace kinetra
