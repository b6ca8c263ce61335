#pragma once

#include <memory>
#include <optional>

#include "logging/HistoryState.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

// The records of the selected exercise on `selectedDate` (`PreviousLogTable2`), read only: the
// aerobic log's for the nine aerobic exercises, the strength log's for every other; rows 50 high
// as today's tables show them. No day, or a day without an entry, shows no rows.
class PreviousLogTableController2 : public TableViewDataSource, public TableViewDelegate {
 public:
  static constexpr double kRowHeight = 50;

  explicit PreviousLogTableController2(HistoryState state) : state_(state) {}

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView&, IndexPath) override {
    return kRowHeight;
  }

 private:
  HistoryState state_;
};

}  // namespace kinetra
