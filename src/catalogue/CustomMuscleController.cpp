#include "catalogue/CustomMuscleController.h"

#include "catalogue/CatalogueCell.h"
#include "catalogue/CustomExerciseViews.h"
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

}  // namespace

CustomMuscleController::CustomMuscleController(CustomExerciseViews& views, CatalogueState state)
    : views_(views), state_(state) {
  setTitle("Muscle");
}

int CustomMuscleController::numberOfSectionsInTableView(TableView&) {
  return static_cast<int>(state_.catalogue.muscles.size()) + 1;
}

std::optional<std::string> CustomMuscleController::titleForHeaderInSection(TableView&,
                                                                           int section) {
  const std::vector<std::string>* group = groupOf(state_, section);
  if (group == nullptr) return "none";
  return group->empty() ? std::string() : group->front();
}

int CustomMuscleController::numberOfRowsInSection(TableView&, int section) {
  const std::vector<std::string>* group = groupOf(state_, section);
  if (group == nullptr) return 1;
  return group->empty() ? 0 : static_cast<int>(group->size()) - 1;
}

std::unique_ptr<TableViewCell> CustomMuscleController::cellForRowAtIndexPath(TableView& tableView,
                                                                             IndexPath indexPath) {
  const std::vector<std::string>* group = groupOf(state_, indexPath.section);
  const auto index = static_cast<std::size_t>(indexPath.row) + 1;
  if (group == nullptr || indexPath.row < 0 || index >= group->size()) {
    return CatalogueCell::noneRow(tableView);
  }
  std::unique_ptr<TableViewCell> cell = CatalogueCell::choiceRow(tableView, (*group)[index], {});
  cell->setFont(Font::boldSystemFontOfSize(kFontSize));
  return cell;
}

void CustomMuscleController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const std::vector<std::string>* group = groupOf(state_, indexPath.section);
  const auto index = static_cast<std::size_t>(indexPath.row) + 1;
  const bool muscle = group != nullptr && indexPath.row >= 0 && index < group->size();
  views_.choose(muscle ? (*group)[index] : std::string(CatalogueCell::kNone));
}

}  // namespace kinetra
