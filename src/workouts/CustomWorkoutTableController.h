#pragma once

#include <memory>
#include <optional>

#include "ui/TableViewController.h"
#include "workouts/WorkoutsState.h"

namespace kinetra {

struct WorkoutsTabViews;

// The region chooser of a pick: one row per region (bold 16, with its picture), then "custom
// exercises" (italic 16) when the user has any; rows 40 high with detail disclosure buttons.
// Choosing a row fills `targetExercises` with that region's records (or the custom ones) and
// opens the exercise picker.
class CustomWorkoutTableController : public TableViewController {
 public:
  static constexpr double kRowHeight = 40;
  static constexpr double kFontSize = 16;

  CustomWorkoutTableController(WorkoutsTabViews& views, WorkoutsState state);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) override {
    return kRowHeight;
  }
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  int regionCount() const;

  WorkoutsTabViews& views_;
  WorkoutsState state_;
};

}  // namespace kinetra
