#include "catalogue/CustomExercisesController.h"

#include "catalogue/CatalogueCell.h"
#include "catalogue/CustomExerciseViews.h"

namespace kinetra {

CustomExercisesController::CustomExercisesController(CustomExerciseViews& views,
                                                     CatalogueState state)
    : views_(views), state_(state) {
  setTitle("Custom Exercises");
}

int CustomExercisesController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(state_.customExercises.size());
}

std::unique_ptr<TableViewCell> CustomExercisesController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  const ExerciseRecord record = recordAtRow(&state_.customExercises, indexPath.row);
  if (record == nullptr) return CatalogueCell::reuse(tableView);
  return CatalogueCell::forRecord(tableView, *record, state_.pictures);
}

void CustomExercisesController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  views_.openExercise(indexPath.row);
}

void CustomExercisesController::commitEditingStyle(TableView&, TableViewCellEditingStyle,
                                                   IndexPath indexPath) {
  views_.deleteExercise(indexPath.row);
}

}  // namespace kinetra
