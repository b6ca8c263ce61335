#include "catalogue/FullListTableController.h"

#include <utility>

#include "catalogue/CatalogueCell.h"
#include "catalogue/CatalogueNavigation.h"
#include "catalogue/ExercisePictures.h"
#include "model/ExerciseList.h"

namespace kinetra {

namespace {

// The records of section `section`; null for a section that does not exist.
const ExerciseRecords* sectionRecords(const ExerciseList& list, int section) {
  const std::vector<std::string>& keys = list.exerciseNameIndexArray;
  if (section < 0 || static_cast<std::size_t>(section) >= keys.size()) return nullptr;
  const auto found = list.indexedExercises.find(keys[static_cast<std::size_t>(section)]);
  return found != list.indexedExercises.end() ? &found->second : nullptr;
}

ExerciseRecord recordAt(const ExerciseList& list, IndexPath indexPath) {
  return recordAtRow(sectionRecords(list, indexPath.section), indexPath.row);
}

}  // namespace

FullListTableController::FullListTableController(std::string title, CatalogueState state)
    : state_(state) {
  setTitle(std::move(title));
}

int FullListTableController::numberOfSectionsInTableView(TableView&) {
  return static_cast<int>(state_.exerciseList.exerciseNameIndexArray.size());
}

int FullListTableController::numberOfRowsInSection(TableView&, int section) {
  const ExerciseRecords* records = sectionRecords(state_.exerciseList, section);
  return records != nullptr ? static_cast<int>(records->size()) : 0;
}

std::unique_ptr<TableViewCell> FullListTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                              IndexPath indexPath) {
  const ExerciseRecord record = recordAt(state_.exerciseList, indexPath);
  if (record == nullptr) return CatalogueCell::reuse(tableView);
  return CatalogueCell::forRecord(tableView, *record, state_.pictures);
}

std::optional<std::string> FullListTableController::titleForHeaderInSection(TableView&,
                                                                            int section) {
  if (section == 0) return "cardio";
  const std::vector<std::string>& keys = state_.exerciseList.exerciseNameIndexArray;
  if (section < 0 || static_cast<std::size_t>(section) >= keys.size()) return std::nullopt;
  return keys[static_cast<std::size_t>(section)];
}

std::vector<std::string> FullListTableController::sectionIndexTitlesForTableView(TableView&) {
  return state_.exerciseList.exerciseNameIndexArray;
}

void FullListTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  // Held while the exercise opens, whatever happens to the index meanwhile.
  const ExerciseRecord record = recordAt(state_.exerciseList, indexPath);
  if (record != nullptr) {
    state_.navigation.openExercise(*record, CatalogueNavigation::From::kCompleteList);
  }
}

}  // namespace kinetra
