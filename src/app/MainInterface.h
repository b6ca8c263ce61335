#pragma once

#include <memory>

#include "app/KinetraImageController.h"
#include "app/KinetraTextController.h"
#include "app/PlaceholderTableScreen.h"
#include "catalogue/FullListTableController.h"
#include "catalogue/MuscleTableController2.h"
#include "catalogue/TargetTableController.h"
#include "catalogue/TargetTableController2.h"
#include "graph/drawGraph.h"
#include "logging/AerobicsTableController.h"
#include "logging/LogTableController.h"
#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/DatePicker.h"
#include "ui/ImagePickerController.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBarController.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace kinetra {

// The main interface resource, in code: the window's tab bar controller with its five tabs,
// each in a navigation controller, and every screen and control the shared state holds, made
// with their frames in points and put together. The members carry the names the rest of the
// system knows them by; what they do is given by the screens and the shared state, not here.
//
// Everything is owned here and lives as long as this object; views are put into each other by
// reference, so taking a view out of its superview never destroys it. The controls made at
// launch (the description text, the bar's segmented controls and their bar items) start null
// and are made by the shared state's start-up. Navigation titles are the navigation items of
// their screens. The run loop's thread only.
class MainInterface {
 public:
  // Content area of a tab below a navigation bar: 460 − 44 − 49 points high.
  static constexpr double kContentHeight = 367;

  MainInterface();
  ~MainInterface();
  MainInterface(const MainInterface&) = delete;
  MainInterface& operator=(const MainInterface&) = delete;

  // ---- Frame
  Window& window;  // the application's window
  TabBarController tabBarController;

  // ---- Exercise screen (tab 0)
  KinetraImageController exerciseScreen;
  View& kinetraTabView;  // the exercise screen's view: the card
  ImageView velomarTabImage;
  std::unique_ptr<KinetraTextController> velomarTabText;  // made at launch
  TextView MusclesText;
  View kinetraHelpView;
  NavigationItem& velomarNavigationTitle;
  BarButtonItem velomarBackButton;
  std::unique_ptr<SegmentedControl> segmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> segmentBarItem;       // holds segmentedControl
  std::unique_ptr<Button> informationButton;           // made at launch
  std::unique_ptr<BarButtonItem> informationBarItem;   // holds informationButton
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

  // ---- The workout screen's paging panels
  ScrollView logsScrollView;
  View kinetraLogViewLeft;
  View kinetraLogViewRight;
  View kinetraAerobicsViewLeft;
  View kinetraAerobicsViewRight;
  Label logExerciseLabelLeft;
  Label logExerciseLabelRight;
  ImageView aerobicsLogImageLeft;
  ImageView aerobicsLogImageRight;

  // ---- Log and history
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
  drawGraph graphView;  // 480 × 320, shown turned
  SegmentedControl graphDuration;
  SegmentedControl graphType;
  ImageView noGraph;
  ViewController emailView;
  TextField emailAddress;
  SegmentedControl emailLogDuration;
  Label emailLabel;
  Button emailSendButton;

  // ---- Catalogue and body map (tab 1)
  TargetTableController targetMenu;  // root of the catalogue tab: the regions menu
  TargetTableController2 targetTableView;
  NavigationItem& TargetNavigationTitle;
  FullListTableController FullListTableView;
  MuscleTableController2 muscleTableView2;
  NavigationItem& MuscleNavigationTitle;
  ViewController body;
  NavigationItem& bodyNavigationTitle;
  ImageView bodyImage;
  View bodyButtonView;
  Label bodyButtonLabel;

  // ---- Custom exercises
  PlaceholderTableScreen customExercisesTableView;
  NavigationItem& customExercisesNavigationTitle;
  std::unique_ptr<SegmentedControl> customSegmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> customExercisesButton;      // holds customSegmentedControl
  PlaceholderTableScreen addExercisesTableView;
  NavigationItem& addExercisesNavigationTitle;
  PlaceholderTableScreen customTargetTableView;
  PlaceholderTableScreen customDifficultyTableView;
  PlaceholderTableScreen customMuscleTableView;
  TextField customName;
  TextView CustomDescription;

  // ---- Workouts (tab 2)
  PlaceholderTableScreen workoutsTable;  // root of the workouts tab
  BarButtonItem workoutsEditButton;
  PlaceholderTableScreen customWorkoutTableView;
  PlaceholderTableScreen customWorkoutTableView2;
  PlaceholderTableScreen singleWorkoutTableView;
  NavigationItem& singleWorkoutNavigationTitle;
  std::unique_ptr<SegmentedControl> singleWorkoutSegmentedControl;  // made at start-up
  std::unique_ptr<BarButtonItem> singleWorkoutButton;  // holds singleWorkoutSegmentedControl
  ViewController newWorkoutView;
  TextField newWorkout;

  // ---- Routines (tab 3)
  PlaceholderTableScreen routineTableView;  // root of the routines tab
  ViewController RoutineTextView;
  NavigationItem& RoutineNavigationTitle;
  TextView RoutineText;

  // ---- Navigation controllers, one per tab (made last: they hold their root screens)
  NavigationController kinetraNavigationController;
  NavigationController targetNavigationController;
  NavigationController workoutsNavigationController;
  NavigationController routineNavigationController;
  NavigationController logNavigationController;

 private:
  void assembleExerciseScreen();
  void assembleEntryPanes();
  void assembleLogScreens();
  void assembleCatalogue();
  void assembleWorkoutsAndRoutines();
  void assembleTabs();
};

}  // namespace kinetra
