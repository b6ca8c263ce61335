#pragma once

#include <memory>
#include <string>

#include "foundation/PropertyList.h"
#include "logging/TodayLog.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

class UserData;
struct Selection;

// Today's strength sets of the selected exercise (`logTableView`): one row of 50 points per
// set of the entry `exerciseLog`[`today`][`selectedExercise`], in logging order, the note
// below the row text. In editing mode a deleted row takes its three strings out of the log,
// which is written whole at once. Keeps no state of its own: every call reads the log and the
// selection it was made with, which must outlive it.
class LogTableController : public TableViewDataSource, public TableViewDelegate {
 public:
  LogTableController(UserData& userData, const Selection& selection)
      : userData_(userData), selection_(selection) {}

  static constexpr std::size_t kStringsPerSet = 3;
  static constexpr double kFontSize = 14;

  // "Set " r + 1 ", " weight " for " reps " reps".
  static std::string rowText(const PropertyList::Array& entry, std::size_t row);

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style,
                          IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  TodayLog today() const { return TodayLog(userData_, selection_, TodayLog::Kind::kStrength); }

  UserData& userData_;
  const Selection& selection_;
};

}  // namespace kinetra
