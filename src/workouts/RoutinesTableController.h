#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/PropertyList.h"
#include "ui/TableViewController.h"
#include "workouts/WorkoutsState.h"

namespace kinetra {

struct RoutinesTabViews;

// The routine list, root of the routines tab: one section per routine of the catalogue, headed
// by its name, with one 100-high row showing the picture "routine_t<n>" and the brief
// description. Choosing a row (or its detail disclosure button) shows the routine.
class RoutinesTableController : public TableViewController {
 public:
  static constexpr double kRowHeight = 100;
  static constexpr int kLabelTag = 0x7274;

  RoutinesTableController(RoutinesTabViews& views, WorkoutsState state);

  int numberOfSectionsInTableView(TableView& tableView) override;
  int numberOfRowsInSection(TableView&, int) override { return 1; }
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) override {
    return kRowHeight;
  }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  const PropertyList* routine(int section) const;

  RoutinesTabViews& views_;
  WorkoutsState state_;
};

}  // namespace kinetra
