#include "catalogue/FullListTableController.h"

#include <utility>

#include "app/VelomarAppDelegate.h"
#include "catalogue/CatalogueCell.h"
#include "catalogue/ExerciseOpener.h"
#include "catalogue/ExercisePictures.h"

namespace kinetra {

namespace {

// The records of section `section`; null for a section that does not exist.
const ExerciseRecords* sectionRecords(VelomarAppDelegate& app, int section) {
  const std::vector<std::string>& keys = app.exerciseNameIndexArray();
  if (section < 0 || static_cast<std::size_t>(section) >= keys.size()) return nullptr;
  const auto found = app.indexedExercises().find(keys[static_cast<std::size_t>(section)]);
  return found != app.indexedExercises().end() ? &found->second : nullptr;
}

ExerciseRecord recordAt(VelomarAppDelegate& app, IndexPath indexPath) {
  return recordAtRow(sectionRecords(app, indexPath.section), indexPath.row);
}

}  // namespace

FullListTableController::FullListTableController(std::string title) { setTitle(std::move(title)); }

int FullListTableController::numberOfSectionsInTableView(TableView&) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  return app != nullptr ? static_cast<int>(app->exerciseNameIndexArray().size()) : 0;
}

int FullListTableController::numberOfRowsInSection(TableView&, int section) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  const ExerciseRecords* records = app != nullptr ? sectionRecords(*app, section) : nullptr;
  return records != nullptr ? static_cast<int>(records->size()) : 0;
}

std::unique_ptr<TableViewCell> FullListTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                              IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  const ExerciseRecord record = app != nullptr ? recordAt(*app, indexPath) : nullptr;
  if (record == nullptr) return CatalogueCell::reuse(tableView);
  const ExercisePictures pictures(app->bundle(), app->userFiles().documents());
  return CatalogueCell::forRecord(tableView, *record, pictures);
}

std::optional<std::string> FullListTableController::titleForHeaderInSection(TableView&,
                                                                            int section) {
  if (section == 0) return "cardio";
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  if (app == nullptr || section < 0 ||
      static_cast<std::size_t>(section) >= app->exerciseNameIndexArray().size()) {
    return std::nullopt;
  }
  return app->exerciseNameIndexArray()[static_cast<std::size_t>(section)];
}

std::vector<std::string> FullListTableController::sectionIndexTitlesForTableView(TableView&) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  return app != nullptr ? app->exerciseNameIndexArray() : std::vector<std::string>();
}

void FullListTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  VelomarAppDelegate* app = VelomarAppDelegate::shared();
  if (app == nullptr) return;
  // Held while the exercise opens, whatever happens to the index meanwhile.
  const ExerciseRecord record = recordAt(*app, indexPath);
  if (record != nullptr) ExerciseOpener::open(*app, *record, ExerciseOpener::From::kCompleteList);
}

}  // namespace kinetra
