#include "catalogue/TargetTableController2.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/CaseInsensitiveOrder.h"
#include "catalogue/CatalogueCell.h"
#include "catalogue/CatalogueNavigation.h"
#include "catalogue/ExercisePictures.h"
#include "model/Selection.h"

namespace kinetra {

namespace {

std::optional<std::string> nameOnRow(const ExerciseRecords& records, int row) {
  return CaseInsensitiveOrder::nameOnRow(records, row);
}

}  // namespace

TargetTableController2::TargetTableController2(std::string title, CatalogueState state)
    : state_(state) {
  setTitle(std::move(title));
}

int TargetTableController2::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(state_.selection.targetExercises.size());
}

std::unique_ptr<TableViewCell> TargetTableController2::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = CatalogueCell::reuse(tableView);
  const ExerciseRecords& records = state_.selection.targetExercises;
  const std::optional<std::string> name = nameOnRow(records, indexPath.row);
  if (!name) return cell;
  cell->setText(*name);
  const ExerciseRecord record = recordNamed(records, *name);
  cell->setImage(record != nullptr ? state_.pictures.thumbnail(*record) : Image());
  return cell;
}

void TargetTableController2::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  // Held while the exercise opens: opening may change `targetExercises`' owners.
  const ExerciseRecords records = state_.selection.targetExercises;
  const std::optional<std::string> name = nameOnRow(records, indexPath.row);
  const ExerciseRecord record = name ? recordNamed(records, *name) : nullptr;
  if (record != nullptr) state_.navigation.openExercise(*record, CatalogueNavigation::From::kList);
}

}  // namespace kinetra
