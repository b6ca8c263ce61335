#pragma once

#include <memory>
#include <optional>
#include <string>

#include "logging/HistoryState.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"

namespace kinetra {

struct LogTabViews;

// The two log-settings rows of the entry panes, bold at 12 points with detail disclosure
// buttons: "Previous exercise records" (30 high) opens the selected exercise's previous
// records; "Log date: Today", or "Log date: " and `today` once another day is chosen (35 high),
// opens the page that chooses the logging day. Both pages are shown on the exercise tab.
class logSettingsTableController : public TableViewDataSource, public TableViewDelegate {
 public:
  static constexpr double kFontSize = 12;

  logSettingsTableController(LogTabViews& views, HistoryState state);

  // Row 1's text.
  std::string logDateText() const;

  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  std::optional<double> heightForRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;

 private:
  void showPreviousRecords();

  LogTabViews& views_;
  HistoryState state_;
};

}  // namespace kinetra
