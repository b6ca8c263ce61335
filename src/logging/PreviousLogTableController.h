#pragma once

#include <memory>
#include <optional>
#include <string>

#include "logging/HistoryState.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

struct LogTabViews;

// The days the selected exercise was logged on (`previousDates`), newest first, 40 high, without
// selection highlight; choosing one shows its records beside the list (`PreviousLogTable2`)
// under the date label, without leaving the page.
class PreviousLogTableController : public TableViewDataSource, public TableViewDelegate {
 public:
  static constexpr double kRowHeight = 40;
  static constexpr double kFontSize = 13;

  PreviousLogTableController(LogTabViews& views, HistoryState state);

  std::optional<std::string> dayOnRow(int row) const;

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) override {
    return kRowHeight;
  }
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  LogTabViews& views_;
  HistoryState state_;
};

}  // namespace kinetra
