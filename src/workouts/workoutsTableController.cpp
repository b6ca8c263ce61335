#include "workouts/workoutsTableController.h"

#include "model/Selection.h"
#include "model/UserData.h"
#include "model/WorkoutList.h"
#include "workouts/WorkoutsTabViews.h"

namespace kinetra {

namespace {

constexpr const char* kReuseIdentifier = "mine";

}  // namespace

workoutsTableController::workoutsTableController(WorkoutsTabViews& views, WorkoutsState state)
    : views_(views), state_(state) {
  setTitle("Workouts");
}

int workoutsTableController::numberOfRowsInSection(TableView&, int) {
  return static_cast<int>(WorkoutList::count(state_.userData.workouts));
}

std::unique_ptr<TableViewCell> workoutsTableController::cellForRowAtIndexPath(TableView& tableView,
                                                                              IndexPath indexPath) {
  std::unique_ptr<TableViewCell> cell = tableView.reusableCell(kReuseIdentifier);
  cell->setText(indexPath.row < 0 ? std::string()
                                  : WorkoutList::nameOf(state_.userData.workouts,
                                                        static_cast<std::size_t>(indexPath.row)));
  cell->setAccessoryType(TableViewCellAccessoryType::kDetailDisclosureButton);
  return cell;
}

void workoutsTableController::didSelectRowAtIndexPath(TableView&, IndexPath indexPath) {
  const PropertyList& workouts = state_.userData.workouts;
  if (indexPath.row < 0 ||
      static_cast<std::size_t>(indexPath.row) >= WorkoutList::count(workouts)) {
    return;
  }
  const auto row = static_cast<std::size_t>(indexPath.row);
  state_.selection.currentWorkout = row;
  views_.singleWorkoutTableView.tableView().reloadData();
  views_.singleWorkoutNavigationTitle.setTitle(WorkoutList::nameOf(workouts, row));
  views_.workoutsNavigationController.pushViewController(views_.singleWorkoutTableView,
                                                         Animated::Yes);
}

void workoutsTableController::accessoryButtonTappedForRowWithIndexPath(TableView& tableView,
                                                                       IndexPath indexPath) {
  selectAndChooseRow(tableView, indexPath);
}

void workoutsTableController::commitEditingStyle(TableView& tableView, TableViewCellEditingStyle,
                                                 IndexPath indexPath) {
  if (indexPath.row < 0 ||
      !WorkoutList::remove(state_.userData.workouts, static_cast<std::size_t>(indexPath.row))) {
    tableView.reloadData();
    return;
  }
  // The current workout follows its row: gone with it, or one up when a row above went.
  std::optional<std::size_t>& current = state_.selection.currentWorkout;
  const auto row = static_cast<std::size_t>(indexPath.row);
  if (current && *current == row) {
    current.reset();
  } else if (current && *current > row) {
    --*current;
  }
  tableView.beginUpdates();
  tableView.deleteRowsAtIndexPaths({indexPath}, TableViewRowAnimation::kTop);
  tableView.endUpdates();
}

void workoutsTableController::moveRowAtIndexPath(TableView& tableView, IndexPath from,
                                                 IndexPath to) {
  if (from.row < 0 || to.row < 0 ||
      !WorkoutList::move(state_.userData.workouts, static_cast<std::size_t>(from.row),
                         static_cast<std::size_t>(to.row))) {
    tableView.reloadData();
    return;
  }
  std::optional<std::size_t>& current = state_.selection.currentWorkout;
  if (!current) return;
  const auto a = static_cast<std::size_t>(from.row);
  const auto b = static_cast<std::size_t>(to.row);
  if (*current == a) {
    current = b;
  } else if (a < *current && *current <= b) {
    --*current;
  } else if (b <= *current && *current < a) {
    ++*current;
  }
}

}  // namespace kinetra
