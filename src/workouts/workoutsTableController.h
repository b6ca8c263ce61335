#pragma once

#include <memory>

#include "ui/TableViewController.h"
#include "workouts/WorkoutsState.h"

namespace kinetra {

struct WorkoutsTabViews;

// The workout list, root of the workouts tab: one row per workout, its name with a detail
// disclosure button. Choosing a row makes that workout the current one and opens the workout
// screen. In editing mode rows are deleted and moved in memory; the file is written when
// editing ends.
class workoutsTableController : public TableViewController {
 public:
  workoutsTableController(WorkoutsTabViews& views, WorkoutsState state);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style,
                          IndexPath indexPath) override;
  bool canMoveRowAtIndexPath(TableView&, IndexPath) override { return true; }
  void moveRowAtIndexPath(TableView& tableView, IndexPath from, IndexPath to) override;

 private:
  WorkoutsTabViews& views_;
  WorkoutsState state_;
};

}  // namespace kinetra
