#include "catalogue/TargetTableController.h"

#include <utility>

#include "app/VelomarAppDelegate.h"
#include "catalogue/CatalogueCell.h"
#include "ui/Font.h"
#include "ui/Label.h"

namespace kinetra {

namespace {

constexpr double kFontSize = 16;

int regionCount(VelomarAppDelegate& app) { return static_cast<int>(app.targets().size()); }

// Whether a record belongs to the region: its "target1", failing that its "target2".
bool inRegion(const PropertyList& record, std::string_view region) {
  return recordString(record, "target1") == region || recordString(record, "target2") == region;
}

void openCustomExercises(VelomarAppDelegate& app, MainInterface& ui) {
  app.setSelectedCustomImage(false);
  if (!app.customExercises().empty()) {
    ui.targetNavigationController.pushViewController(ui.customExercisesTableView, Animated::Yes);
    return;
  }
  app.setEditingCustomExercise(false);
  ui.targetNavigationController.pushViewController(ui.addExercisesTableView, Animated::Yes);
}

void openBodyMap(MainInterface& ui) {
  // The muscle label an earlier touch on the map left there goes, so the map opens without it.
  if (ui.bodyButtonView.superview() == &ui.body.view()) ui.bodyButtonView.removeFromSuperview();
  ui.targetNavigationController.pushViewController(ui.body, Animated::Yes);
}

void openCompleteList(MainInterface& ui) {
  ui.FullListTableView.tableView().setContentOffset({0, 0}, Animated::No);
  ui.targetNavigationController.pushViewController(ui.FullListTableView, Animated::Yes);
}

void openRegion(VelomarAppDelegate& app, MainInterface& ui, const std::string& region) {
  app.setSelectedTarget(region);
  ExerciseRecords& members = app.targetExercises();
  members.clear();
  for (const ExerciseRecord& record : app.exercises()) {
    if (record != nullptr && inRegion(*record, region)) members.push_back(record);
  }
  TableView& list = ui.targetTableView.tableView();
  list.setContentOffset({0, 0}, Animated::No);
  list.reloadData();
  ui.TargetNavigationTitle.setTitle(region);
  ui.targetNavigationController.pushViewController(ui.targetTableView, Animated::Yes);
}

}  // namespace

TargetTableController::TargetTableController(std::string title) { setTitle(std::move(title)); }

int TargetTableController::numberOfRowsInSection(TableView&, int section) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  if (app == nullptr) return 0;
  return section == 0 ? regionCount(*app) + 2 : 1;
}

std::unique_ptr<TableViewCell> TargetTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                            IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  std::unique_ptr<TableViewCell> cell = CatalogueCell::reuse(tableView);
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  cell->setImage(Image());
  if (app == nullptr) return cell;
  const int regions = regionCount(*app);
  if (indexPath.section != 0) {
    // "No font set": the label's own default, put back since the cell may have been reused.
    cell->setFont(Label().font());
    cell->setText("Add/Edit Custom Exercises");
  } else if (indexPath.row < regions) {
    const std::string& region = app->targets()[static_cast<std::size_t>(indexPath.row)];
    cell->setFont(Font::boldSystemFontOfSize(kFontSize));
    cell->setText(region);
    cell->setImage(Image::named(app->bundle(), region + ".jpg"));
  } else {
    cell->setFont(Font::italicSystemFontOfSize(kFontSize));
    cell->setText(indexPath.row == regions ? "exercises by muscle" : "complete list of exercises");
  }
  return cell;
}

std::optional<double> TargetTableController::heightForRowAtIndexPath(TableView&,
                                                                     IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  const int regions = app != nullptr ? regionCount(*app) : 0;
  if (indexPath.row == regions || indexPath.row == regions + 1) return 36;
  if (indexPath.row == 4) return 40;
  return 33;
}

void TargetTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  if (app == nullptr) return;
  MainInterface& ui = app->interface();
  const int regions = regionCount(*app);
  if (indexPath.section != 0) {
    openCustomExercises(*app, ui);
  } else if (indexPath.row == regions + 1) {
    openCompleteList(ui);
  } else if (indexPath.row == regions) {
    openBodyMap(ui);
  } else if (indexPath.row >= 0 && indexPath.row < regions) {
    // A copy: the region name outlives any change to `targets` made while it is opened.
    const std::string region = app->targets()[static_cast<std::size_t>(indexPath.row)];
    openRegion(*app, ui, region);
  }
}

void TargetTableController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                     IndexPath indexPath) {
  tableView.selectRowAtIndexPath(indexPath, Animated::No, TableViewScrollPosition::kNone);
  didSelectRowAtIndexPath(tableView, indexPath);
}

}  // namespace kinetra
