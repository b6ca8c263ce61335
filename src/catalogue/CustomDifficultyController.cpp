#include "catalogue/CustomDifficultyController.h"

#include <array>

#include "catalogue/CatalogueCell.h"
#include "catalogue/CustomExerciseViews.h"
#include "catalogue/ExercisePictures.h"

namespace kinetra {

namespace {

struct Level {
  const char* text;
  const char* picture;
};

constexpr std::array<Level, 3> kLevels{{{"Beginner", "beginner.jpg"},
                                        {"Intermediate", "intermediate.jpg"},
                                        {"Advanced", "advanced.jpg"}}};

}  // namespace

CustomDifficultyController::CustomDifficultyController(CustomExerciseViews& views,
                                                       CatalogueState state)
    : views_(views), state_(state) {
  setTitle("Skill Level");
}

int CustomDifficultyController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(kLevels.size()) + 1;
}

std::unique_ptr<TableViewCell> CustomDifficultyController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(kLevels.size())) {
    return CatalogueCell::noneRow(tableView);
  }
  const Level& level = kLevels[static_cast<std::size_t>(indexPath.row)];
  return CatalogueCell::choiceRow(tableView, level.text,
                                  state_.pictures.bundlePicture(level.picture));
}

void CustomDifficultyController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const bool level = indexPath.row >= 0 && indexPath.row < static_cast<int>(kLevels.size());
  views_.choose(level ? kLevels[static_cast<std::size_t>(indexPath.row)].text
                      : CatalogueCell::kNone);
}

}  // namespace kinetra
