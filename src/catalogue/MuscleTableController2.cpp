#include "catalogue/MuscleTableController2.h"

#include <utility>

#include "catalogue/CatalogueCell.h"
#include "catalogue/CatalogueNavigation.h"
#include "catalogue/ExercisePictures.h"
#include "model/Selection.h"

namespace kinetra {

namespace {

const ExerciseRecords* sectionRecords(const Selection& selection, int section) {
  if (section == 0) return &selection.primaryMuscle;
  if (section == 1) return &selection.additionalMuscle;
  return nullptr;
}

ExerciseRecord recordAt(const Selection& selection, IndexPath indexPath) {
  return recordAtRow(sectionRecords(selection, indexPath.section), indexPath.row);
}

}  // namespace

MuscleTableController2::MuscleTableController2(std::string title, CatalogueState state)
    : state_(state) {
  setTitle(std::move(title));
}

int MuscleTableController2::numberOfRowsInSection(TableView&, int section) {
  const ExerciseRecords* records = sectionRecords(state_.selection, section);
  return records != nullptr ? static_cast<int>(records->size()) : 0;
}

std::unique_ptr<TableViewCell> MuscleTableController2::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  const ExerciseRecord record = recordAt(state_.selection, indexPath);
  if (record == nullptr) return CatalogueCell::reuse(tableView);
  return CatalogueCell::forRecord(tableView, *record, state_.pictures);
}

std::optional<std::string> MuscleTableController2::titleForHeaderInSection(TableView&,
                                                                           int section) {
  if (section == 0) return "Primary Target Exercises";
  if (section == 1) return "Secondary Target Exercises";
  return std::nullopt;
}

void MuscleTableController2::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const ExerciseRecord record = recordAt(state_.selection, indexPath);
  if (record != nullptr) state_.navigation.openExercise(*record, CatalogueNavigation::From::kList);
}

}  // namespace kinetra
