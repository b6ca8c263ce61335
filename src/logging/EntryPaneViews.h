#pragma once

#include "logging/AerobicsTableController.h"
#include "logging/LogTableController.h"
#include "logging/RestBar.h"
#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/SegmentedControl.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/View.h"

namespace kinetra {

class RecordBook;
class UserData;
struct Selection;

// The views of the two entry panes, made and laid out here: the strength pane
// (`kinetraLogView`) and the aerobic pane (`kinetraAerobicsView`), each with its fields and
// today's table (the strength pane also with the rest countdown's strip), and the two bar buttons
// the exercise screen shows while a pane is open. The tables' data sources read today's entry from
// the state given at construction, which must outlive this object. The run loop's thread only.
struct EntryPaneViews {
  EntryPaneViews(UserData& userData, const Selection& selection, RecordBook& records);
  EntryPaneViews(const EntryPaneViews&) = delete;
  EntryPaneViews& operator=(const EntryPaneViews&) = delete;

  BarButtonItem logDoneButton;
  BarButtonItem logEditButton;

  // ---- Strength entry pane
  View kinetraLogView;
  Label logExerciseLabel;
  TextField weight;
  TextField weightDecimal;
  SegmentedControl weightType;  // segment 1 is "kg"
  TextField reps;
  TextField note;
  Button logAddButton;
  TableView loggingTabTableView;  // the pane's log-settings rows
  TableView logTableView;
  LogTableController logTableController;  // data source and delegate of logTableView
  RestBar restBar;                        // along the pane's bottom while a rest runs

  // ---- Aerobic entry pane
  View kinetraAerobicsView;
  Label aerobicsLabel;
  ImageView aerobicsLogImage;
  TextField aerobicsField1;
  TextField aerobicsField2;
  TextField aerobicsField3;
  TextField aerobicsField4;
  TextField aerobicsField5;  // the note
  Button aerobicsAddButton;
  TableView loggingTabTableView2;
  TableView aerobicsTableView;
  AerobicsTableController aerobicsTableController;  // ... of aerobicsTableView

 private:
  void assembleStrengthPane();
  void assembleAerobicPane();
};

}  // namespace kinetra
