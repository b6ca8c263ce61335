#include "catalogue/CustomTargetController.h"

#include "catalogue/CatalogueCell.h"
#include "catalogue/ExercisePictures.h"
#include "model/Catalogue.h"

namespace kinetra {

CustomTargetController::CustomTargetController(CustomExerciseViews& views, CatalogueState state)
    : CustomExerciseChooser("Region", views, state) {}

int CustomTargetController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(state().catalogue.targets.size()) + 1;
}

std::string CustomTargetController::valueAt(IndexPath indexPath) const {
  const std::vector<std::string>& targets = state().catalogue.targets;
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(targets.size())) {
    return CatalogueCell::kNone;
  }
  return targets[static_cast<std::size_t>(indexPath.row)];
}

std::unique_ptr<TableViewCell> CustomTargetController::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(state().catalogue.targets.size())) {
    return CatalogueCell::noneRow(tableView);
  }
  const std::string region = valueAt(indexPath);
  return CatalogueCell::choiceRow(tableView, region, state().pictures.namedPicture(region));
}

}  // namespace kinetra
