#include "catalogue/CustomMuscleController.h"

#include "catalogue/CatalogueCell.h"
#include "model/Catalogue.h"
#include "ui/Font.h"

namespace kinetra {

namespace {

constexpr double kFontSize = 16;

// The muscle group of `section`; null for the last section ("none") and out of range.
const std::vector<std::string>* groupOf(const CatalogueState& state, int section) {
  const auto& groups = state.catalogue.muscles;
  if (section < 0 || section >= static_cast<int>(groups.size())) return nullptr;
  return &groups[static_cast<std::size_t>(section)];
}

// The muscle at `indexPath` (a group's first element is its title); null for "none".
const std::string* muscleAt(const CatalogueState& state, IndexPath indexPath) {
  const std::vector<std::string>* group = groupOf(state, indexPath.section);
  const auto index = static_cast<std::size_t>(indexPath.row) + 1;
  if (group == nullptr || indexPath.row < 0 || index >= group->size()) return nullptr;
  return &(*group)[index];
}

}  // namespace

CustomMuscleController::CustomMuscleController(CustomExerciseViews& views, CatalogueState state)
    : CustomExerciseChooser("Muscle", views, state) {}

int CustomMuscleController::numberOfSectionsInTableView(TableView&) {
  return static_cast<int>(state().catalogue.muscles.size()) + 1;
}

std::optional<std::string> CustomMuscleController::titleForHeaderInSection(TableView&,
                                                                           int section) {
  const std::vector<std::string>* group = groupOf(state(), section);
  if (group == nullptr) return CatalogueCell::kNone;
  return group->empty() ? std::string() : group->front();
}

int CustomMuscleController::numberOfRowsInSection(TableView&, int section) {
  const std::vector<std::string>* group = groupOf(state(), section);
  if (group == nullptr) return 1;
  return group->empty() ? 0 : static_cast<int>(group->size()) - 1;
}

std::string CustomMuscleController::valueAt(IndexPath indexPath) const {
  const std::string* muscle = muscleAt(state(), indexPath);
  return muscle != nullptr ? *muscle : CatalogueCell::kNone;
}

std::unique_ptr<TableViewCell> CustomMuscleController::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  const std::string* muscle = muscleAt(state(), indexPath);
  if (muscle == nullptr) return CatalogueCell::noneRow(tableView);
  std::unique_ptr<TableViewCell> cell = CatalogueCell::choiceRow(tableView, *muscle, {});
  cell->setFont(Font::boldSystemFontOfSize(kFontSize));
  return cell;
}

}  // namespace kinetra
