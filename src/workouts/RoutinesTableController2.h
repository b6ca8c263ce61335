#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/PropertyList.h"
#include "ui/TableViewController.h"
#include "workouts/WorkoutsState.h"

namespace kinetra {

class Control;
class Event;
struct RoutinesTabViews;

// The routine screen, read only, for `selectedRoutine`: section 0 "Description" (one 100-high
// row with the full description), then one section per group key "section<i>" (i from 1 to 19,
// counted, so a missing key shortens the list rather than leaving a gap) headed by its value,
// with one 60-high row per exercise key "section<s>exercise<j>" counted the same way: the
// exercise's name and bundle thumbnail, its instruction line "section<s>set<j>" below, and a
// log button. Choosing the description shows the routine's text page; choosing an exercise
// opens it; its log button goes straight to log entry.
class RoutinesTableController2 : public TableViewController {
 public:
  static constexpr int kLastNumber = 19;
  static constexpr int kLabelTag = 0x7264;

  RoutinesTableController2(RoutinesTabViews& views, WorkoutsState state);

  // The number of i in 1 to 19 for which the routine holds `key(i)`.
  static int countKeys(const PropertyList& routine, const std::string& prefix,
                       const std::string& suffix = {});

  int numberOfSectionsInTableView(TableView& tableView) override;
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section) override;
  std::optional<double> heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;

  // ButtonTapped2:event: the row under the event's touch, as if its log button were tapped.
  void ButtonTapped2(Control& sender, const Event& event);

 private:
  std::string value(const std::string& key) const;
  std::string exerciseOn(IndexPath indexPath) const;
  std::unique_ptr<TableViewCell> descriptionCell(TableView& tableView);
  std::unique_ptr<TableViewCell> exerciseCell(TableView& tableView, IndexPath indexPath);

  RoutinesTabViews& views_;
  WorkoutsState state_;
};

}  // namespace kinetra
