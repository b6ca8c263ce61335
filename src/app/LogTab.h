#pragma once

#include "app/PlaceholderTableScreen.h"
#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/DatePicker.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

namespace kinetra {

// Tab 4, the log: the period menu and the lists of logged days, one exercise's previous
// records, the page that chooses the logging day, and the export page.
struct LogTab {
  LogTab();

  ViewController kinetraLogView2;  // previous records of one exercise
  Label logDateLabel;
  TableView PreviousLogTable1;
  TableView PreviousLogTable2;
  ViewController loggingDate;  // choosing the logging day
  DatePicker datePicker;
  Button useLoggingDateButton;
  PlaceholderTableScreen logTabTableView;  // root of the log tab
  PlaceholderTableScreen exerciseLogTableView;
  NavigationItem& logNavigationTitle;
  PlaceholderTableScreen LimitedLogTableView;
  NavigationItem& limitedLogNavigationTitle;
  BarButtonItem logDatesEditButton;
  ViewController emailView;
  TextField emailAddress;
  SegmentedControl emailLogDuration;
  Label emailLabel;
  Button emailSendButton;

  NavigationController logNavigationController;  // last: it holds its root screen
};

}  // namespace kinetra
