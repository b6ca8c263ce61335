#pragma once

#include <memory>
#include <string>

#include "foundation/PropertyList.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

// Today's strength sets of the selected exercise (`logTableView`): one row of 50 points per
// set of the entry `exerciseLog`[`today`][`selectedExercise`], in logging order, the note
// below the row text. In editing mode a deleted row takes its three strings out of the log,
// which is written whole at once. Keeps no state: every call reads the shared state through
// the application singleton, and a table without shared state has no rows.
class LogTableController : public TableViewDataSource, public TableViewDelegate {
 public:
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
};

}  // namespace kinetra
