#include "catalogue/CustomDifficultyController.h"

#include <array>

#include "catalogue/CatalogueCell.h"
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

// The level of `row`; null for the last row ("none").
const Level* levelAt(int row) {
  if (row < 0 || row >= static_cast<int>(kLevels.size())) return nullptr;
  return &kLevels[static_cast<std::size_t>(row)];
}

}  // namespace

CustomDifficultyController::CustomDifficultyController(CustomExerciseViews& views,
                                                       CatalogueState state)
    : CustomExerciseChooser("Skill Level", views, state) {}

int CustomDifficultyController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(kLevels.size()) + 1;
}

std::string CustomDifficultyController::valueAt(IndexPath indexPath) const {
  const Level* level = levelAt(indexPath.row);
  return level != nullptr ? level->text : CatalogueCell::kNone;
}

std::unique_ptr<TableViewCell> CustomDifficultyController::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  const Level* level = levelAt(indexPath.row);
  if (level == nullptr) return CatalogueCell::noneRow(tableView);
  return CatalogueCell::choiceRow(tableView, level->text,
                                  state().pictures.bundlePicture(level->picture));
}

}  // namespace kinetra
