#include "workouts/workoutsTableController2.h"

#include "catalogue/ExercisePictures.h"
#include "model/ExerciseList.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "model/WorkoutList.h"
#include "ui/Button.h"
#include "ui/Event.h"
#include "workouts/WorkoutsNavigation.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";

}  // namespace

workoutsTableController2::workoutsTableController2(WorkoutsState state) : state_(state) {
  setTitle("Workout");
}

std::vector<std::string> workoutsTableController2::exercises() const {
  const std::optional<std::size_t>& current = state_.selection.currentWorkout;
  if (!current) return {};
  return WorkoutList::exercisesOf(state_.userData.workouts, *current);
}

std::optional<std::string> workoutsTableController2::exerciseOnRow(int row) const {
  std::vector<std::string> names = exercises();
  if (row < 0 || static_cast<std::size_t>(row) >= names.size()) return std::nullopt;
  return std::move(names[static_cast<std::size_t>(row)]);
}

int workoutsTableController2::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(exercises().size());
}

std::unique_ptr<TableViewCell> workoutsTableController2::cellForRowAtIndexPath(
    TableView& tableView, IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  const std::string name = exerciseOnRow(indexPath.row).value_or("");
  const ExerciseRecord record = recordNamed(state_.exerciseList.exercises, name);
  cell->setText(name);
  cell->setImage(record != nullptr ? state_.pictures.thumbnail(*record) : Image());
  const Image log = state_.pictures.bundlePicture(loggedToday(name) ? "log_t2.jpg" : "log_t.jpg");
  auto button = Button::pictureButton(log);
  button->addTarget([this](Control& sender, const Event& event) { ButtonTapped(sender, event); },
                    ControlEvent::kTouchUpInside);
  cell->setAccessoryView(std::move(button));
  return cell;
}

void workoutsTableController2::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const std::optional<std::string> name = exerciseOnRow(indexPath.row);
  if (name) state_.navigation.openWorkoutExercise(*name);
}

void workoutsTableController2::accessoryButtonTappedForRowWithIndexPath(TableView&,
                                                                        IndexPath indexPath) {
  if (exerciseOnRow(indexPath.row)) state_.navigation.logFromWorkoutRow(indexPath.row);
}

void workoutsTableController2::ButtonTapped(Control&, const Event& event) {
  TableView& table = tableView();
  const std::optional<IndexPath> row = table.indexPathForRowOfEvent(event);
  if (row) accessoryButtonTappedForRowWithIndexPath(table, *row);
}

bool workoutsTableController2::loggedToday(const std::string& name) const {
  // An entry counts even when its sets were all deleted.
  const std::string& today = state_.selection.today;
  for (const PropertyList* log : {&state_.userData.exerciseLog, &state_.userData.aerobicsLog}) {
    const PropertyList* day = log->isDictionary() ? log->find(today) : nullptr;
    if (day != nullptr && day->isDictionary() && day->find(name) != nullptr) return true;
  }
  return false;
}

void workoutsTableController2::commitEditingStyle(TableView& tableView, TableViewCellEditingStyle,
                                                  IndexPath indexPath) {
  const std::optional<std::size_t>& current = state_.selection.currentWorkout;
  if (!current || indexPath.row < 0 ||
      !WorkoutList::removeExercise(state_.userData.workouts, *current,
                                   static_cast<std::size_t>(indexPath.row))) {
    tableView.reloadData();
    return;
  }
  tableView.beginUpdates();
  tableView.deleteRowsAtIndexPaths({indexPath}, TableViewRowAnimation::kTop);
  tableView.endUpdates();
}

void workoutsTableController2::moveRowAtIndexPath(TableView& tableView, IndexPath from,
                                                  IndexPath to) {
  const std::optional<std::size_t>& current = state_.selection.currentWorkout;
  if (!current || from.row < 0 || to.row < 0 ||
      !WorkoutList::moveExercise(state_.userData.workouts, *current,
                                 static_cast<std::size_t>(from.row),
                                 static_cast<std::size_t>(to.row))) {
    tableView.reloadData();
  }
}

}  // namespace kinetra
