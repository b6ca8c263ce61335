#pragma once

#include <memory>
#include <optional>

#include "logging/HistoryState.h"
#include "ui/TableViewController.h"
#include "ui/TextFieldDelegate.h"

namespace kinetra {

struct LogTabViews;

// The log tab's root: the period menu. Section 0 has one row per text of the catalogue's
// `logDates` (the last in the italic system font of size 20); section 1 the row "Export logs to
// Email". Every row shows the bundle picture named by its text with blanks as "_" and a detail
// disclosure button, whose tap selects the row and then does what selecting it does. The rows
// act by position: today, the previous logged day, the past 7, 14 and 30 days, all records.
// Also the export address field's delegate: Return hides the keyboard.
class LogTabTableView : public TableViewController, public TextFieldDelegate {
 public:
  static constexpr double kItalicFontSize = 20;
  static constexpr const char* kExportRow = "Export logs to Email";

  // `views`: the log tab the menu leads to; the menu is one of its members.
  LogTabTableView(LogTabViews& views, HistoryState state);

  // The bundle picture name of a row: its text with every blank replaced by "_".
  static std::string pictureName(std::string_view text);

  int numberOfSectionsInTableView(TableView&) override { return 2; }
  int numberOfRowsInSection(TableView& tableView, int section) override;
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                       IndexPath indexPath) override;
  void didSelectRowAtIndexPath(TableView& tableView, IndexPath indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, IndexPath indexPath) override;

  bool textFieldShouldReturn(TextField& textField) override;

 private:
  // What every row does first: no day chosen, the lists out of editing mode.
  void resetHistory();
  // Row 1: the newest logged day before `today`, by the four steps of the rule.
  void choosePreviousDay();
  // Rows 2 to 5: the days of the last `days` days, newest first, under `title`.
  void showPeriod(int days, const char* title, bool editable);
  void showExport();

  LogTabViews& views_;
  HistoryState state_;
};

}  // namespace kinetra
