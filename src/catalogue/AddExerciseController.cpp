#include "catalogue/AddExerciseController.h"

#include <array>
#include <utility>

#include "catalogue/CatalogueNavigation.h"
#include "catalogue/CustomExerciseViews.h"
#include "catalogue/ExercisePictures.h"
#include "model/EditingFlags.h"
#include "model/ExerciseList.h"
#include "ui/Font.h"
#include "ui/ImageView.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";
constexpr double kFontSize = 14;
constexpr std::array<const char*, CustomExerciseDraft::kChoices> kChoiceLabels{
    "Target Region:", "Target Muscle:", "Difficulty:"};
// The details section's rows: the picture, then the three choices.
constexpr std::array<double, 4> kDetailHeights{43, 38, 33, 34};
constexpr double kNameHeight = 34;
constexpr double kDescriptionHeight = 55;

std::unique_ptr<TableViewCell> newCell() {
  auto cell = std::make_unique<TableViewCell>(Rect{}, kReuseIdentifier);
  cell->setFont(Font::boldSystemFontOfSize(kFontSize));
  cell->setSelectionStyle(TableViewCellSelectionStyle::kNone);
  return cell;
}

}  // namespace

AddExerciseController::AddExerciseController(CustomExerciseViews& views, CatalogueState state)
    : TableViewController(TableViewStyle::kGrouped), views_(views), state_(state) {
  setTitle("Add Exercise");
}

std::string AddExerciseController::choiceLabel(int choice) {
  if (choice < 0 || choice >= CustomExerciseDraft::kChoices) return {};
  return kChoiceLabels[static_cast<std::size_t>(choice)];
}

int AddExerciseController::numberOfRowsInSection(TableView&, int section) {
  return section == kDetailsSection ? static_cast<int>(kDetailHeights.size()) : 1;
}

std::optional<std::string> AddExerciseController::titleForHeaderInSection(TableView&, int section) {
  switch (section) {
    case kNameSection:
      return "Exercise Name:";
    case kDescriptionSection:
      return "Description:";
    case kDetailsSection:
      return "Details: (optional)";
    default:
      return std::nullopt;
  }
}

std::optional<double> AddExerciseController::heightForRowAtIndexPath(TableView&,
                                                                     IndexPath indexPath) {
  if (indexPath.section == kNameSection) return kNameHeight;
  if (indexPath.section == kDescriptionSection) return kDescriptionHeight;
  if (indexPath.row >= 0 && indexPath.row < static_cast<int>(kDetailHeights.size())) {
    return kDetailHeights[static_cast<std::size_t>(indexPath.row)];
  }
  return std::nullopt;
}

std::unique_ptr<TableViewCell> AddExerciseController::cellForRowAtIndexPath(TableView&,
                                                                            IndexPath indexPath) {
  if (indexPath.section == kNameSection) {
    auto cell = newCell();
    cell->contentView().addSubview(views_.customName);
    return cell;
  }
  if (indexPath.section == kDescriptionSection) {
    auto cell = newCell();
    cell->contentView().addSubview(views_.CustomDescription);
    return cell;
  }
  return detailsCell(indexPath.row);
}

std::unique_ptr<TableViewCell> AddExerciseController::detailsCell(int row) {
  auto cell = newCell();
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  if (row == kImageRow) {
    cell->setText("Image:");
    auto picture = std::make_unique<ImageView>(thumbnail());
    picture->setCenter({kThumbnailCentreX, kThumbnailCentreY});
    cell->contentView().addSubview(std::move(picture));
    return cell;
  }
  const int choice = row - kFirstChoiceRow;
  if (choice < 0 || choice >= CustomExerciseDraft::kChoices) return cell;
  const std::optional<std::string>& value = views_.draft.choices[static_cast<std::size_t>(choice)];
  cell->setText(value ? *value : choiceLabel(choice));
  return cell;
}

Image AddExerciseController::thumbnail() const {
  if (!views_.draft.customImage_t.empty()) return views_.draft.customImage_t;
  if (state_.flags.editingCustomExercise) {
    const ExerciseRecord record =
        recordNamed(state_.exerciseList.exercises, views_.customName.text());
    if (record != nullptr && recordString(*record, "image").value_or("custom") != "custom") {
      return state_.pictures.thumbnail(*record);
    }
  }
  return state_.pictures.bundlePicture("custom_t.jpg");
}

void AddExerciseController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  if (indexPath.section != kDetailsSection) return;
  switch (indexPath.row - kFirstChoiceRow) {
    case CustomExerciseDraft::kRegion:
      views_.customTargetTableView.tableView().reloadData();
      views_.navigation().pushViewController(views_.customTargetTableView, Animated::Yes);
      return;
    case CustomExerciseDraft::kMuscle:
      views_.customMuscleTableView.tableView().reloadData();
      views_.navigation().pushViewController(views_.customMuscleTableView, Animated::Yes);
      return;
    case CustomExerciseDraft::kDifficulty:
      views_.navigation().pushViewController(views_.customDifficultyTableView, Animated::Yes);
      return;
    default:
      if (indexPath.row == kImageRow) state_.navigation.showPhotoPicker();
      return;
  }
}

void AddExerciseController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                     IndexPath indexPath) {
  selectAndChooseRow(tableView, indexPath);
}

bool AddExerciseController::shouldChangeTextInRange(TextView& textView, TextRange,
                                                    const std::string& text) {
  // The Done key's line feed stays in the text; it only puts the keyboard away.
  if (!text.empty() && text.back() == '\n') textView.resignFirstResponder();
  return true;
}

}  // namespace kinetra
