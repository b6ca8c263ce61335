#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "foundation/PropertyList.h"
#include "logging/TodayLog.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

class UserData;
struct Selection;

// Today's aerobic sets of the selected exercise (`aerobicsTableView`): one row of 50 points per
// set of the entry `aerobicsLog`[`today`][`selectedExercise`], the values that were entered
// with their labels, the note below. In editing mode a deleted row takes its five strings out
// of the log, which is written whole at once. Keeps no state of its own: every call reads the
// log and the selection it was made with, which must outlive it.
class AerobicsTableController : public TableViewDataSource, public TableViewDelegate {
 public:
  AerobicsTableController(UserData& userData, const Selection& selection)
      : userData_(userData), selection_(selection) {}

  static constexpr std::size_t kStringsPerSet = 5;
  static constexpr double kFontSize = 10;

  // "Set " r + 1, then ", " value label for each value entered; only "Set " r + 1 for a name
  // that is not one of the nine aerobic exercises.
  static std::string rowText(std::string_view exercise, const PropertyList::Array& entry,
                             std::size_t row);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style,
                          IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  TodayLog today() const { return TodayLog(userData_, selection_, TodayLog::Kind::kAerobic); }

  UserData& userData_;
  const Selection& selection_;
};

}  // namespace kinetra
