#pragma once

#include <memory>
#include <optional>
#include <string>

#include "logging/HistoryState.h"
#include "ui/TableViewController.h"

namespace kinetra {

struct LogTabViews;

// The logged days of one period (`limitedDates`), newest first, each with a detail disclosure
// button; selecting a row or tapping its button opens the day's log. In editing mode a deleted
// row takes its day out of both logs, which are written whole at once, and out of the list.
class LimitedLogTableController : public TableViewController {
 public:
  LimitedLogTableController(LogTabViews& views, HistoryState state);

  // The day on row `row`; none past the end.
  std::optional<std::string> dayOnRow(int row) const;

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;
  bool implementsCommitEditingStyle() const override { return true; }
  void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style,
                          IndexPath indexPath) override;

 private:
  LogTabViews& views_;
  HistoryState state_;
};

}  // namespace kinetra
