#include "workouts/CustomWorkoutTableController2.h"

#include <optional>
#include <string>

#include "catalogue/CaseInsensitiveOrder.h"
#include "catalogue/ExercisePictures.h"
#include "model/Selection.h"
#include "model/WorkoutList.h"
#include "ui/Button.h"
#include "ui/Event.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";

}  // namespace

CustomWorkoutTableController2::CustomWorkoutTableController2(WorkoutsState state) : state_(state) {
  setTitle("Add Exercises");
}

int CustomWorkoutTableController2::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(state_.selection.targetExercises.size());
}

std::unique_ptr<TableViewCell> CustomWorkoutTableController2::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  const ExerciseRecords& offered = state_.selection.targetExercises;
  const std::string name = CaseInsensitiveOrder::nameOnRow(offered, indexPath.row).value_or("");
  const ExerciseRecord record = recordNamed(offered, name);
  cell->setText(name);
  cell->setImage(record != nullptr ? state_.pictures.thumbnail(*record) : Image());

  const std::vector<std::string>& picked = state_.selection.tempWorkout;
  const bool ticked = std::find(picked.begin(), picked.end(), name) != picked.end();
  const Image tick = state_.pictures.bundlePicture(ticked ? "checkMark.gif" : "unchecked.jpg");
  auto button = Button::pictureButton(tick);
  button->addTarget(
      [this](Control& sender, const Event& event) { checkButtonTapped(sender, event); },
      ControlEvent::kTouchUpInside);
  cell->setAccessoryView(std::move(button));
  return cell;
}

void CustomWorkoutTableController2::didSelectRowAtIndexPath(TableView& tableView,
                                                            IndexPath indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, Animated::No);
  const std::optional<std::string> name =
      CaseInsensitiveOrder::nameOnRow(state_.selection.targetExercises, indexPath.row);
  if (!name) return;
  WorkoutList::toggle(state_.selection.tempWorkout, *name);
  tableView.reloadData();
}

void CustomWorkoutTableController2::checkButtonTapped(Control&, const Event& event) {
  TableView& table = tableView();
  const std::optional<IndexPath> row = table.indexPathForRowOfEvent(event);
  if (row) didSelectRowAtIndexPath(table, *row);
}

}  // namespace kinetra
