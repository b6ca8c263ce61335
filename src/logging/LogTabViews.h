#pragma once

#include "logging/ExerciseLogTableController.h"
#include "logging/HistoryState.h"
#include "logging/LimitedLogTableController.h"
#include "logging/LogTabTableView.h"
#include "logging/PreviousLogTableController.h"
#include "logging/PreviousLogTableController2.h"
#include "logging/logSettingsTableController.h"
#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/DatePicker.h"
#include "ui/DocumentPickerController.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

namespace kinetra {

// Tab 4, the log, made and laid out here: the period menu and the lists of logged days, the
// day-log screen, an exercise's previous records, the page that chooses the logging day, and
// the export page with its file picker for imports; with the controllers that serve them. The
// previous-records and logging-day pages are shown on the exercise tab; `logSettings` serves the
// log-settings rows of both entry panes (the application connects them). The state handed in must
// outlive this object.
struct LogTabViews {
  explicit LogTabViews(HistoryState state);
  LogTabViews(const LogTabViews&) = delete;
  LogTabViews& operator=(const LogTabViews&) = delete;

  // ---- An exercise's previous records, and the logging day
  ViewController kinetraLogView2;  // previous records of one exercise
  Label logDateLabel;
  TableView PreviousLogTable1;
  TableView PreviousLogTable2;
  PreviousLogTableController previousLogTableController;    // ... of PreviousLogTable1
  PreviousLogTableController2 previousLogTableController2;  // ... of PreviousLogTable2
  ViewController loggingDate;                               // choosing the logging day
  DatePicker datePicker;
  Button useLoggingDateButton;
  logSettingsTableController logSettings;  // the entry panes' two log-settings rows

  // ---- The log tab's screens
  LogTabTableView logTabTableView;  // root of the log tab: the period menu
  ExerciseLogTableController exerciseLogTableView;
  NavigationItem& logNavigationTitle;
  LimitedLogTableController LimitedLogTableView;
  NavigationItem& limitedLogNavigationTitle;
  BarButtonItem logDatesEditButton;
  ViewController emailView;
  TextField emailAddress;
  SegmentedControl emailLogDuration;
  Label emailLabel;
  Button emailSendButton;      // sendEmail:
  Button emailDownloadButton;  // the same CSV, saved by the user's browser
  Button emailImportButton;    // a CSV file of logs taken in (CsvImport)
  DocumentPickerController csvPicker;

  NavigationController logNavigationController;  // last: it holds its root screen

  // Shows the day-log screen for `selectedDate`: from its top, reloaded, pushed.
  void showDayLog();
};

}  // namespace kinetra
