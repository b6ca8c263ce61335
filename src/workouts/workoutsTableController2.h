#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/TableViewController.h"
#include "workouts/WorkoutsState.h"

namespace kinetra {

class Control;
class Event;

// The workout screen: the exercises of the current workout, each with its thumbnail and a log
// button ("log_t2" once the exercise has an entry under the logging day, else "log_t");
// choosing one opens it on the exercise screen, its log button (the accessory-tap handler) goes
// straight to the paging log panels. In editing mode rows are deleted and moved in memory
// (the workout's name never moves); the file is written when editing ends. No current workout
// shows no rows.
class workoutsTableController2 : public TableViewController {
 public:
  explicit workoutsTableController2(WorkoutsState state);

  // The exercises of the current workout.
  std::vector<std::string> exercises() const;

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;

  // ButtonTapped:event: the row under the event's touch, as if its log button were tapped.
  void ButtonTapped(Control& sender, const Event& event);
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style,
                          IndexPath indexPath) override;
  bool canMoveRowAtIndexPath(TableView&, IndexPath) override { return true; }
  void moveRowAtIndexPath(TableView& tableView, IndexPath from, IndexPath to) override;

 private:
  std::optional<std::string> exerciseOnRow(int row) const;
  bool loggedToday(const std::string& name) const;

  WorkoutsState state_;
};

}  // namespace kinetra
