#include "catalogue/MuscleTableController2.h"

#include <utility>

#include "app/VelomarAppDelegate.h"
#include "catalogue/CatalogueCell.h"
#include "catalogue/ExerciseOpener.h"
#include "catalogue/ExercisePictures.h"

namespace kinetra {

namespace {

const ExerciseRecords* sectionRecords(VelomarAppDelegate& app, int section) {
  if (section == 0) return &app.primaryMuscle();
  if (section == 1) return &app.additionalMuscle();
  return nullptr;
}

ExerciseRecord recordAt(VelomarAppDelegate& app, IndexPath indexPath) {
  return recordAtRow(sectionRecords(app, indexPath.section), indexPath.row);
}

}  // namespace

MuscleTableController2::MuscleTableController2(std::string title) { setTitle(std::move(title)); }

int MuscleTableController2::numberOfRowsInSection(TableView&, int section) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  const ExerciseRecords* records = app != nullptr ? sectionRecords(*app, section) : nullptr;
  return records != nullptr ? static_cast<int>(records->size()) : 0;
}

std::unique_ptr<TableViewCell> MuscleTableController2::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  const ExerciseRecord record = app != nullptr ? recordAt(*app, indexPath) : nullptr;
  if (record == nullptr) return CatalogueCell::reuse(tableView);
  const ExercisePictures pictures(app->bundle(), app->userFiles().documents());
  return CatalogueCell::forRecord(tableView, *record, pictures);
}

std::optional<std::string> MuscleTableController2::titleForHeaderInSection(TableView&,
                                                                           int section) {
  if (section == 0) return "Primary Target Exercises";
  if (section == 1) return "Secondary Target Exercises";
  return std::nullopt;
}

void MuscleTableController2::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  if (app == nullptr) return;
  const ExerciseRecord record = recordAt(*app, indexPath);
  if (record != nullptr) ExerciseOpener::open(*app, *record, ExerciseOpener::From::kList);
}

}  // namespace kinetra
