#include "app/MainInterface.h"

#include <string>
#include <vector>

#include "ui/Application.h"

namespace kinetra {

namespace {

constexpr double kWidth = 320;
constexpr double kPaneHeight = 369;

std::unique_ptr<View> contentView() {
  auto view = std::make_unique<View>(Rect{0, 0, kWidth, MainInterface::kContentHeight});
  view->setBackgroundColor(Color::whiteColor());
  return view;
}

}  // namespace

MainInterface::MainInterface()
    : window(Application::shared().window()),
      exerciseScreen(contentView()),
      kinetraTabView(exerciseScreen.view()),
      velomarTabImage(Rect{0, 0, kWidth, kContentHeight}),
      MusclesText(Rect{10, 0, 305, 70}),
      kinetraHelpView(Rect{0, 0, kWidth, kContentHeight}),
      velomarNavigationTitle(exerciseScreen.navigationItem()),
      velomarBackButton("Back", BarButtonItemStyle::kBordered, {}),
      logDoneButton("Done", BarButtonItemStyle::kDone, {}),
      logEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      kinetraLogView(Rect{0, 0, kWidth + 1, kPaneHeight}),
      logExerciseLabel(Rect{85, 5, 230, 25}),
      weight(Rect{85, 40, 60, 30}),
      weightDecimal(Rect{150, 40, 40, 30}),
      weightType(std::vector<std::string>{"lbs", "kg"}, Rect{195, 40, 115, 30}),
      reps(Rect{85, 80, 60, 30}),
      note(Rect{150, 80, 160, 30}),
      logAddButton(ButtonType::kRoundedRect, Rect{85, 118, 225, 32}),
      loggingTabTableView(Rect{0, 160, kWidth, 65}),
      logTableView(Rect{0, 230, kWidth, 139}),
      kinetraAerobicsView(Rect{0, 0, kWidth + 1, kPaneHeight}),
      aerobicsLabel(Rect{85, 5, 230, 25}),
      aerobicsLogImage(Rect{0, 75, kWidth, 40}),
      aerobicsField1(Rect{5, 118, 73, 30}),
      aerobicsField2(Rect{83, 118, 73, 30}),
      aerobicsField3(Rect{161, 118, 73, 30}),
      aerobicsField4(Rect{239, 118, 73, 30}),
      aerobicsField5(Rect{5, 152, 230, 30}),
      aerobicsAddButton(ButtonType::kRoundedRect, Rect{240, 152, 72, 30}),
      loggingTabTableView2(Rect{0, 190, kWidth, 65}),
      aerobicsTableView(Rect{0, 260, kWidth, 109}),
      logsScrollView(Rect{0, 0, kWidth, kContentHeight}),
      kinetraLogViewLeft(Rect{0, 0, kWidth, kContentHeight}),
      kinetraLogViewRight(Rect{2 * kWidth, 0, kWidth, kContentHeight}),
      kinetraAerobicsViewLeft(Rect{0, 0, kWidth, kContentHeight}),
      kinetraAerobicsViewRight(Rect{2 * kWidth, 0, kWidth, kContentHeight}),
      logExerciseLabelLeft(Rect{85, 5, 230, 25}),
      logExerciseLabelRight(Rect{85, 5, 230, 25}),
      aerobicsLogImageLeft(Rect{0, 75, kWidth, 40}),
      aerobicsLogImageRight(Rect{0, 75, kWidth, 40}),
      kinetraLogView2(contentView()),
      logDateLabel(Rect{0, 0, kWidth, 24}),
      PreviousLogTable1(Rect{0, 24, 110, kContentHeight - 24}),
      PreviousLogTable2(Rect{110, 24, kWidth - 110, kContentHeight - 24}),
      loggingDate(contentView()),
      datePicker(Rect{0, 0, kWidth, 216}),
      useLoggingDateButton(ButtonType::kRoundedRect, Rect{20, 240, 280, 40}),
      logTabTableView("Log", TableViewStyle::kGrouped),
      exerciseLogTableView("Today's Log"),
      logNavigationTitle(exerciseLogTableView.navigationItem()),
      LimitedLogTableView("Past 7 days"),
      limitedLogNavigationTitle(LimitedLogTableView.navigationItem()),
      logDatesEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      graphView(Rect{0, 0, 480, 320}),
      graphDuration(std::vector<std::string>{"7", "14", "28", "56"}, Rect{20, 270, 200, 30}),
      graphType(std::vector<std::string>{"Avg Wt", "Max Wt", "Avg Reps", "Max Reps"},
                Rect{230, 270, 230, 30}),
      noGraph(Rect{0, 0, 480, 260}),
      emailView(contentView()),
      emailAddress(Rect{20, 20, 280, 31}),
      emailLogDuration(std::vector<std::string>{"All", "30 days", "14 days", "7 days"},
                       Rect{20, 66, 280, 30}),
      emailLabel(Rect{20, 106, 280, 21}),
      emailSendButton(ButtonType::kRoundedRect, Rect{20, 140, 280, 40}),
      targetMenu("Catalogue"),
      targetTableView("Region"),
      TargetNavigationTitle(targetTableView.navigationItem()),
      FullListTableView("All Exercises"),
      muscleTableView2("Muscle"),
      MuscleNavigationTitle(muscleTableView2.navigationItem()),
      body(contentView()),
      bodyNavigationTitle(body.navigationItem()),
      bodyImage(Rect{0, 0, kWidth, kContentHeight}),
      bodyButtonView(Rect{0, 0, 120, 24}),
      bodyButtonLabel(Rect{0, 0, 120, 24}),
      customExercisesTableView("Custom Exercises"),
      customExercisesNavigationTitle(customExercisesTableView.navigationItem()),
      addExercisesTableView("Add Exercise", TableViewStyle::kGrouped),
      addExercisesNavigationTitle(addExercisesTableView.navigationItem()),
      customTargetTableView("Region"),
      customDifficultyTableView("Skill Level"),
      customMuscleTableView("Muscle"),
      customName(Rect{10, 10, 280, 31}),
      CustomDescription(Rect{10, 10, 280, 120}),
      workoutsTable("Workouts"),
      workoutsEditButton("Edit", BarButtonItemStyle::kBordered, {}),
      customWorkoutTableView("Add Exercises"),
      customWorkoutTableView2("Add Exercises"),
      singleWorkoutTableView("Workout"),
      singleWorkoutNavigationTitle(singleWorkoutTableView.navigationItem()),
      newWorkoutView(contentView()),
      newWorkout(Rect{20, 20, 280, 31}),
      routineTableView("Routines"),
      RoutineTextView(contentView()),
      RoutineNavigationTitle(RoutineTextView.navigationItem()),
      RoutineText(Rect{0, 0, kWidth, kContentHeight}),
      kinetraNavigationController(exerciseScreen),
      targetNavigationController(targetMenu),
      workoutsNavigationController(workoutsTable),
      routineNavigationController(routineTableView),
      logNavigationController(logTabTableView) {
  assembleExerciseScreen();
  assembleEntryPanes();
  assembleLogScreens();
  assembleCatalogue();
  assembleWorkoutsAndRoutines();
  assembleTabs();
}

MainInterface::~MainInterface() = default;

void MainInterface::assembleExerciseScreen() {
  kinetraHelpView.setBackgroundColor(Color::blackColor());
  MusclesText.setEditable(false);
  MusclesText.setBackgroundColor(Color::clearColor());
}

void MainInterface::assembleEntryPanes() {
  for (TextField* field : {&weight, &weightDecimal, &reps, &note}) {
    field->setBorderStyle(TextBorderStyle::kRoundedRect);
  }
  weight.setPlaceholder("weight");
  weightDecimal.setText("0");
  reps.setPlaceholder("reps");
  note.setPlaceholder("note");
  weightType.setSelectedSegmentIndex(0);
  logAddButton.setTitle("Add Set", ControlState::kNormal);
  for (View* view :
       std::initializer_list<View*>{&logExerciseLabel, &weight, &weightDecimal, &weightType, &reps,
                                    &note, &logAddButton, &loggingTabTableView, &logTableView}) {
    kinetraLogView.addSubview(*view);
  }

  logTableView.setDataSource(&logTableController);
  logTableView.setDelegate(&logTableController);

  for (TextField* field :
       {&aerobicsField1, &aerobicsField2, &aerobicsField3, &aerobicsField4, &aerobicsField5}) {
    field->setBorderStyle(TextBorderStyle::kRoundedRect);
  }
  aerobicsTableView.setDataSource(&aerobicsTableController);
  aerobicsTableView.setDelegate(&aerobicsTableController);
  aerobicsField5.setPlaceholder("note");
  aerobicsAddButton.setTitle("Add", ControlState::kNormal);
  for (View* view : std::initializer_list<View*>{&aerobicsLabel, &aerobicsLogImage, &aerobicsField1,
                                                 &aerobicsField2, &aerobicsField3, &aerobicsField4,
                                                 &aerobicsField5, &aerobicsAddButton,
                                                 &loggingTabTableView2, &aerobicsTableView}) {
    kinetraAerobicsView.addSubview(*view);
  }

  // Three pages side by side: the previous, the current and the next exercise of a workout.
  logsScrollView.setContentSize(Size{3 * kWidth, kContentHeight});
  kinetraLogViewLeft.addSubview(logExerciseLabelLeft);
  kinetraLogViewRight.addSubview(logExerciseLabelRight);
  kinetraAerobicsViewLeft.addSubview(aerobicsLogImageLeft);
  kinetraAerobicsViewRight.addSubview(aerobicsLogImageRight);
}

void MainInterface::assembleLogScreens() {
  kinetraLogView2.setTitle("Previous Records");
  logDateLabel.setTextAlignment(TextAlignment::kCenter);
  for (View* view :
       std::initializer_list<View*>{&logDateLabel, &PreviousLogTable1, &PreviousLogTable2}) {
    kinetraLogView2.view().addSubview(*view);
  }

  loggingDate.setTitle("Log Date");
  datePicker.setDatePickerMode(DatePickerMode::kDate);
  useLoggingDateButton.setTitle("Use This Date", ControlState::kNormal);
  loggingDate.view().addSubview(datePicker);
  loggingDate.view().addSubview(useLoggingDateButton);

  // The graph's grays (band 0.168, grid 0.25, labels 0.8) are drawn for a dark screen.
  graphView.setBackgroundColor(Color::blackColor());
  graphDuration.setSelectedSegmentIndex(0);
  graphType.setSelectedSegmentIndex(0);
  graphView.addSubview(graphDuration);
  graphView.addSubview(graphType);

  emailView.setTitle("Export Logs");
  emailAddress.setBorderStyle(TextBorderStyle::kRoundedRect);
  emailAddress.setPlaceholder("e-mail address");
  emailLogDuration.setSelectedSegmentIndex(0);
  emailSendButton.setTitle("Send", ControlState::kNormal);
  for (View* view : std::initializer_list<View*>{&emailAddress, &emailLogDuration, &emailLabel,
                                                 &emailSendButton}) {
    emailView.view().addSubview(*view);
  }
}

void MainInterface::assembleCatalogue() {
  body.setTitle("Muscles");
  bodyButtonView.addSubview(bodyButtonLabel);
  body.view().addSubview(bodyImage);
  customName.setBorderStyle(TextBorderStyle::kRoundedRect);
}

void MainInterface::assembleWorkoutsAndRoutines() {
  workoutsTable.navigationItem().setRightBarButtonItem(&workoutsEditButton);
  newWorkoutView.setTitle("New Workout");
  newWorkout.setBorderStyle(TextBorderStyle::kRoundedRect);
  newWorkout.setPlaceholder("workout name");
  newWorkoutView.view().addSubview(newWorkout);
  RoutineText.setEditable(false);
  RoutineTextView.view().addSubview(RoutineText);
}

void MainInterface::assembleTabs() {
  kinetraNavigationController.setTitle("Exercise");
  targetNavigationController.setTitle("Catalogue");
  workoutsNavigationController.setTitle("Workouts");
  routineNavigationController.setTitle("Routines");
  logNavigationController.setTitle("Log");
  tabBarController.setViewControllers({&kinetraNavigationController, &targetNavigationController,
                                       &workoutsNavigationController, &routineNavigationController,
                                       &logNavigationController});
}

}  // namespace kinetra
