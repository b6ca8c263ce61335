#include "catalogue/CustomTargetController.h"

#include <utility>

#include "catalogue/CatalogueCell.h"
#include "catalogue/CustomExerciseViews.h"
#include "catalogue/ExercisePictures.h"
#include "model/Catalogue.h"

namespace kinetra {

CustomTargetController::CustomTargetController(CustomExerciseViews& views, CatalogueState state)
    : views_(views), state_(state) {
  setTitle("Region");
}

int CustomTargetController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(state_.catalogue.targets.size()) + 1;
}

std::unique_ptr<TableViewCell> CustomTargetController::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  const std::vector<std::string>& targets = state_.catalogue.targets;
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(targets.size())) {
    return CatalogueCell::noneRow(tableView);
  }
  const std::string& region = targets[static_cast<std::size_t>(indexPath.row)];
  return CatalogueCell::choiceRow(tableView, region, state_.pictures.namedPicture(region));
}

void CustomTargetController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const std::vector<std::string>& targets = state_.catalogue.targets;
  const bool region = indexPath.row >= 0 && indexPath.row < static_cast<int>(targets.size());
  views_.choose(region ? targets[static_cast<std::size_t>(indexPath.row)]
                       : std::string(CatalogueCell::kNone));
}

}  // namespace kinetra
