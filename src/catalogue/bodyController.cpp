#include "catalogue/bodyController.h"

#include <utility>

#include "catalogue/CatalogueNavigation.h"
#include "catalogue/MuscleHotSpots.h"
#include "model/ExerciseList.h"
#include "model/Selection.h"
#include "ui/ImageView.h"
#include "ui/ScreenLayout.h"

namespace kinetra {

namespace {

constexpr std::string_view kSecondaryKeys[] = {"muscle2", "muscle3", "muscle4"};

bool namesAsSecondary(const PropertyList& record, std::string_view muscle) {
  for (std::string_view key : kSecondaryKeys) {
    if (recordString(record, key) == muscle) return true;
  }
  return false;
}

}  // namespace

bodyController::bodyController(CatalogueState state, Image picture, View& labelView, Button& label)
    : ViewController(ScreenLayout::contentView()),
      state_(state),
      labelView_(labelView),
      label_(label) {
  setTitle("Muscles");
  view().addSubview(std::make_unique<ImageView>(std::move(picture)));
}

bool bodyController::labelShown() { return labelView_.superview() == &view(); }

void bodyController::hideLabel() {
  if (labelShown()) labelView_.removeFromSuperview();
}

void bodyController::touchesBegan(const std::vector<Touch>& touches, const Event&) {
  hideLabel();
  if (touches.empty()) return;
  const MuscleHotSpot* spot = MuscleHotSpots::at(touches.front().locationInView(view()));
  if (spot == nullptr) return;
  const std::string title = spot->title();
  for (ControlState state :
       {ControlState::kSelected, ControlState::kNormal, ControlState::kHighlighted}) {
    label_.setTitle(title, state);
  }
  labelView_.setCenter(spot->labelCentre());
  state_.selection.selectedTarget = std::string(spot->muscle);
  view().addSubview(labelView_);
}

void bodyController::labelTapped() {
  Selection& selection = state_.selection;
  selection.primaryMuscle.clear();
  selection.additionalMuscle.clear();
  const std::string& muscle = selection.selectedTarget;
  for (const ExerciseRecord& record : state_.exerciseList.exercises) {
    if (record == nullptr) continue;
    if (recordString(*record, "muscle1") == muscle) selection.primaryMuscle.push_back(record);
    if (namesAsSecondary(*record, muscle)) selection.additionalMuscle.push_back(record);
  }
  state_.navigation.showMuscle(muscle);
}

}  // namespace kinetra
