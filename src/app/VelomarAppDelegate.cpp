#include "app/VelomarAppDelegate.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/ExerciseScreen.h"
#include "catalogue/MuscleText.h"
#include "foundation/PropertyListReader.h"
#include "foundation/RunLoop.h"
#include "logging/AerobicEntryPane.h"
#include "logging/EntryPaneEditing.h"
#include "logging/StrengthEntryPane.h"
#include "model/CatalogueResources.h"
#include "model/DayList.h"
#include "ui/Application.h"

namespace kinetra {

namespace {

// The single workout of an earlier version, migrated once into the workouts.
constexpr std::string_view kSingleWorkoutFile = "Kinetra.plist";
constexpr std::string_view kSeparator = "separator";
constexpr std::string_view kMigratedWorkoutName = "Current Workout";
constexpr std::string_view kConnectionNotice = "Requires WIFI or cellular data connection";
// Most keys named in one diagnostic line.
constexpr std::size_t kKeysPerReport = 5;

// A segmented control of the navigation bar: bar style, momentary, 30 points high.
std::unique_ptr<SegmentedControl> barControl(std::vector<SegmentedControl::Item> items,
                                             double width) {
  auto control = std::make_unique<SegmentedControl>(std::move(items), Rect{0, 0, width, 30});
  control->setSegmentedControlStyle(SegmentedControlStyle::kBar);
  control->setMomentary(true);
  return control;
}

// The array of strings an older version kept its one workout in; nothing when the value holds
// anything else.
std::optional<std::vector<std::string>> stringArray(const PropertyList& value) {
  if (!value.isArray()) return std::nullopt;
  std::vector<std::string> strings;
  for (const PropertyList& element : value.asArray()) {
    if (!element.isString()) return std::nullopt;
    strings.push_back(element.asString());
  }
  return strings;
}

}  // namespace

VelomarAppDelegate::VelomarAppDelegate(RunLoop& runLoop, Environment environment)
    : runLoop_(runLoop),
      bundle_(std::move(environment.resourceDirectory)),
      userFiles_(DocumentsDirectory(std::move(environment.documentsDirectory)), runLoop),
      dateFormatter_(DateFormatter::mediumStyle(environment.dates)),
      monthDayFormatter_(DateFormatter::withPattern("MM/dd", environment.dates)),
      nameIndex_(dateFormatter_->localeName()),
      interface_(std::make_unique<MainInterface>()) {}

VelomarAppDelegate::~VelomarAppDelegate() {
  // The interface goes first (last member); taking the tab bar out of the window is explicit
  // so the window never shows a half-destroyed interface.
  interface_->tabBarController.view().removeFromSuperview();
}

VelomarAppDelegate* VelomarAppDelegate::shared() {
  return dynamic_cast<VelomarAppDelegate*>(Application::shared().delegate());
}

Date VelomarAppDelegate::now() const { return runLoop_.now(); }

DiagnosticLog& VelomarAppDelegate::diagnosticLog() { return runLoop_.log(); }

std::string VelomarAppDelegate::dayString(Date moment) const {
  return dateFormatter_->stringFromDate(moment);
}

// ---- Start-up

void VelomarAppDelegate::applicationDidFinishLaunching(Application& application) {
  MainInterface& ui = *interface_;
  makeInformationButton();
  ui.velomarTabText = std::make_unique<KinetraTextController>();
  setupData();
  giveGroupBackgrounds();
  ui.velomarTabImage.setImage(Image::resource(bundle_, "logo", "jpg"));
  ui.kinetraTabView.addSubview(ui.velomarTabImage);
  application.window().addSubview(ui.tabBarController.view());
}

void VelomarAppDelegate::makeInformationButton() {
  MainInterface& ui = *interface_;
  ui.informationButton = Button::buttonWithType(ButtonType::kInfoLight);
  ui.informationButton->addTarget([this](Control& sender) { kinetraHelpSelect(sender); },
                                  ControlEvent::kTouchUpInside);
  ui.informationBarItem = std::make_unique<BarButtonItem>(*ui.informationButton);
  ui.velomarNavigationTitle.setRightBarButtonItem(ui.informationBarItem.get());
}

void VelomarAppDelegate::giveGroupBackgrounds() {
  MainInterface& ui = *interface_;
  for (View* view :
       {&ui.kinetraLogView2.view(), &ui.emailView.view(), &ui.kinetraLogView,
        &ui.kinetraLogViewLeft, &ui.kinetraLogViewRight, &ui.kinetraAerobicsView,
        &ui.kinetraAerobicsViewLeft, &ui.kinetraAerobicsViewRight, &ui.newWorkoutView.view()}) {
    view->setBackgroundColor(Color::groupTableViewBackgroundColor());
  }
}

void VelomarAppDelegate::setupData() {
  MainInterface& ui = *interface_;
  refreshLogScroll_ = true;
  ui.logsScrollView.setPagingEnabled(true);
  ui.logsScrollView.setDelegate(this);

  imagePickerController_ = std::make_unique<ImagePickerController>();
  imagePickerController_->setDelegate(this);
  imagePickerController_->setSourceType(ImagePickerControllerSourceType::kPhotoLibrary);

  setUpTextInput();
  ui.emailLabel.setText(std::string(kConnectionNotice));
  ui.MusclesText.setFont(Font::italicSystemFontOfSize(12));
  for (TextField* field : {&ui.customName, &ui.newWorkout, &ui.emailAddress}) {
    field->setFont(Font::systemFontOfSize(17));
  }
  flipEnabled_ = true;
  selectedDate_ = "none";
  ui.bodyButtonLabel.setFont(Font::boldSystemFontOfSize(12));

  const Date launch = now();
  ui.datePicker.setDate(launch);
  today_ = dayString(launch);
  todayFollowsClock_ = true;
  armDayChangeTimer();
  ui.bodyButtonView.setBackgroundColor(Color::clearColor());

  loadCatalogue();
  loadUserFiles();
  rebuildExerciseList();
  routines_ = CatalogueResources::routines(bundle_);

  ui.velomarTabImage.setUserInteractionEnabled(true);
  ui.velomarTabText->setEditable(false);
  ui.velomarTabText->setFont(fontWithSize(ui.RoutineText.font(), 15));
  lastTabIndex_ = 0;

  makeHelpPage();
  makeBarControls();

  ui.tabBarController.setDelegate(this);
  for (NavigationController* navigation :
       {&ui.kinetraNavigationController, &ui.targetNavigationController,
        &ui.workoutsNavigationController, &ui.routineNavigationController,
        &ui.logNavigationController}) {
    navigation->setDelegate(this);
  }
}

void VelomarAppDelegate::setUpTextInput() {
  MainInterface& ui = *interface_;
  for (TextField* field :
       {&ui.customName, &ui.newWorkout, &ui.emailAddress, &ui.note, &ui.aerobicsField1,
        &ui.aerobicsField2, &ui.aerobicsField3, &ui.aerobicsField4, &ui.aerobicsField5}) {
    field->setReturnKeyType(ReturnKeyType::kDone);
  }
  ui.CustomDescription.setReturnKeyType(ReturnKeyType::kDone);
  ui.emailAddress.setKeyboardType(KeyboardType::kEmailAddress);
  for (TextField* field :
       {&ui.aerobicsField1, &ui.aerobicsField2, &ui.aerobicsField3, &ui.aerobicsField4}) {
    field->setKeyboardType(KeyboardType::kNumbersAndPunctuation);
  }
  for (TextField* field : {&ui.weight, &ui.weightDecimal, &ui.reps}) {
    field->setKeyboardType(KeyboardType::kNumberPad);
  }
}

void VelomarAppDelegate::loadCatalogue() {
  catalogueExercises_ = CatalogueResources::exercises(bundle_);
  targets_ = CatalogueResources::strings(bundle_, "Targets");
  muscles_ = CatalogueResources::muscles(bundle_);
  logDates_ = CatalogueResources::strings(bundle_, "LogDates");
}

void VelomarAppDelegate::loadUserFiles() {
  userFiles_.removeInterruptedWrites();
  if (auto value = userFiles_.load(UserFile::kWorkouts)) workouts_ = std::move(*value);
  migrateSingleWorkout();
  if (auto value = userFiles_.load(UserFile::kExerciseLog)) exerciseLog_ = std::move(*value);
  if (auto value = userFiles_.load(UserFile::kSettings)) settings_ = std::move(*value);
  if (auto value = userFiles_.load(UserFile::kAerobicsLog)) aerobicsLog_ = std::move(*value);
  if (auto value = userFiles_.load(UserFile::kCustomExercises)) {
    customExercises_.clear();
    for (PropertyList& record : value->asArray()) {
      customExercises_.push_back(std::make_shared<PropertyList>(std::move(record)));
    }
  }
}

void VelomarAppDelegate::migrateSingleWorkout() {
  const auto path = userFiles_.documents().pathForFile(kSingleWorkoutFile);
  if (!path.ok()) return;
  Result<PropertyList> value = loadPropertyList(*path, PropertyList::Kind::kArray);
  if (!value.ok()) return;
  std::optional<std::vector<std::string>> names = stringArray(*value);
  if (!names) return;

  PropertyList::Array workout{PropertyList(kMigratedWorkoutName)};
  for (std::string& name : *names) {
    if (name != kSeparator) workout.emplace_back(std::move(name));
  }
  workouts_.asArray().emplace_back(std::move(workout));
  interface_->workoutsTable.tableView().reloadData();
  // The old file goes only once its workout is safely on disk: a failed save keeps it, and
  // the next successful save of the workouts removes it. A failed save is reported by the save.
  migrationPending_ = true;
  static_cast<void>(saveWorkouts());
}

void VelomarAppDelegate::finishMigration() {
  migrationPending_ = false;
  const auto path = userFiles_.documents().pathForFile(kSingleWorkoutFile);
  if (!path.ok()) return;
  std::error_code ignored;
  std::filesystem::remove(*path, ignored);
}

void VelomarAppDelegate::makeHelpPage() {
  MainInterface& ui = *interface_;
  auto picture = std::make_unique<ImageView>(Image::resource(bundle_, "logo_back", "jpg"));
  const Size size = picture->image().size();
  auto scroller = std::make_unique<ScrollView>(Rect{0, 0, size.width, 360});
  scroller->setContentSize(size);
  scroller->setScrollEnabled(true);
  scroller->setBounces(false);
  scroller->setDirectionalLockEnabled(true);
  scroller->setIndicatorStyle(ScrollViewIndicatorStyle::kWhite);
  scroller->addSubview(std::move(picture));
  ui.kinetraHelpView.addSubview(std::move(scroller));
}

void VelomarAppDelegate::makeBarControls() {
  MainInterface& ui = *interface_;
  ui.noGraph.setImage(Image::named(bundle_, "noGraph.jpg"));
  for (SegmentedControl* control : {&ui.graphDuration, &ui.graphType}) {
    control->addTarget([this](Control& sender) { graphDurationAction(sender); },
                       ControlEvent::kValueChanged);
  }

  ui.segmentedControl =
      barControl({Image::named(bundle_, "rotate_icon.gif"), Image::named(bundle_, "log_icon.gif"),
                  Image::named(bundle_, "graph_icon.gif")},
                 110);
  ui.segmentedControl->addTarget([this](Control& sender) { segmentAction(sender); },
                                 ControlEvent::kValueChanged);
  ui.segmentBarItem = std::make_unique<BarButtonItem>(*ui.segmentedControl);

  ui.customSegmentedControl = barControl({std::string("Add"), std::string("Del")}, 90);
  // FIXME: value-changed calls customExercisesAction: once the custom exercise editor exists.
  ui.customExercisesButton = std::make_unique<BarButtonItem>(*ui.customSegmentedControl);
  ui.customExercisesNavigationTitle.setRightBarButtonItem(ui.customExercisesButton.get());

  ui.singleWorkoutSegmentedControl = barControl({std::string("Add"), std::string("Edit")}, 90);
  // FIXME: value-changed calls customWorkoutAction: once the workout list exists.
  ui.singleWorkoutButton = std::make_unique<BarButtonItem>(*ui.singleWorkoutSegmentedControl);
  ui.singleWorkoutNavigationTitle.setRightBarButtonItem(ui.singleWorkoutButton.get());

  ui.useLoggingDateButton.addTarget([this](Control& sender) { useLoggingDate(sender); },
                                    ControlEvent::kTouchUpInside);
  ui.logDatesEditButton.setAction([this](BarButtonItem& sender) { logDatesEdit(sender); });

  // The exercise screen's bar and the entry panes.
  ui.velomarBackButton.setAction([this](BarButtonItem& sender) { velomarBackSelect(sender); });
  ui.logDoneButton.setAction([this](BarButtonItem& sender) { logDoneSelect(sender); });
  ui.logEditButton.setAction([this](BarButtonItem& sender) { logEdit(sender); });
  ui.logAddButton.addTarget([this](Control& sender) { addLog(sender); },
                            ControlEvent::kTouchUpInside);
  ui.aerobicsAddButton.addTarget([this](Control& sender) { addAerobics(sender); },
                                 ControlEvent::kTouchUpInside);
}

// ---- The exercise list

void VelomarAppDelegate::rebuildExerciseList() {
  exercises_ = catalogueExercises_;
  exercises_.insert(exercises_.end(), customExercises_.begin(), customExercises_.end());
  buildNameIndex();
}

void VelomarAppDelegate::buildNameIndex() {
  nameIndex_.build(exercises_, indexedExercises_, exerciseNameIndexArray_);
}

// ---- Stored files

Status VelomarAppDelegate::saveWorkouts() {
  Status status = userFiles_.write(UserFile::kWorkouts, workouts_);
  if (status.ok() && migrationPending_) finishMigration();
  return status;
}

Status VelomarAppDelegate::saveCustomExercises() {
  PropertyList::Array records;
  records.reserve(customExercises_.size());
  for (const ExerciseRecord& record : customExercises_) {
    if (record != nullptr) records.push_back(*record);
  }
  return userFiles_.write(UserFile::kCustomExercises, PropertyList(std::move(records)));
}

Status VelomarAppDelegate::saveExerciseLog() {
  return userFiles_.write(UserFile::kExerciseLog, exerciseLog_);
}

Status VelomarAppDelegate::saveAerobicsLog() {
  return userFiles_.write(UserFile::kAerobicsLog, aerobicsLog_);
}

Status VelomarAppDelegate::saveSettings() {
  return userFiles_.write(UserFile::kSettings, settings_);
}

// ---- Day strings

void VelomarAppDelegate::createPreviousDates() {
  const PropertyList& log = isAerobicExercise(selectedExercise_) ? aerobicsLog_ : exerciseLog_;
  DayList list = DayList::daysWithExercise(log, selectedExercise_, *dateFormatter_);
  reportSkippedKeys(list);
  previousDates_ = std::move(list.days);
}

void VelomarAppDelegate::createLogDates(int days) {
  DayList list = DayList::daysWithin(exerciseLog_, aerobicsLog_, now(), days, *dateFormatter_);
  reportSkippedKeys(list);
  limitedDates_ = std::move(list.days);
}

void VelomarAppDelegate::useLoggingDate(Sender) {
  MainInterface& ui = *interface_;
  today_ = dayString(ui.datePicker.date());
  todayFollowsClock_ = today_ == dayString(now());
  reloadTodaysTables();
  ui.kinetraNavigationController.popViewControllerAnimated(Animated::Yes);
}

void VelomarAppDelegate::reloadTodaysTables() {
  MainInterface& ui = *interface_;
  for (TableView* table : {&ui.loggingTabTableView, &ui.loggingTabTableView2, &ui.aerobicsTableView,
                           &ui.logTableView}) {
    table->reloadData();
  }
}

void VelomarAppDelegate::armDayChangeTimer() {
  const Date moment = now();
  const std::optional<Date> next = dateFormatter_->startOfNextDay(moment);
  if (!next) {
    runLoop_.log().line("The clock's day has no next day; the logging day stays " + today_);
    dayChangeTimer_ = Timer();
    return;
  }
  dayChangeTimer_ =
      runLoop_.schedule(next->timeIntervalSinceDate(moment), [this] { localDayChanged(); });
}

void VelomarAppDelegate::localDayChanged() {
  // A timer that fired a hair early finds the same day and is simply set again.
  armDayChangeTimer();
  catchUpWithTheClock();
}

void VelomarAppDelegate::catchUpWithTheClock() {
  if (!todayFollowsClock_) return;
  const Date moment = now();
  std::string day = dayString(moment);
  if (day == today_) return;
  today_ = std::move(day);
  interface_->datePicker.setDate(moment);
  reloadTodaysTables();
}

void VelomarAppDelegate::logDatesEdit(Sender) {
  MainInterface& ui = *interface_;
  ui.LimitedLogTableView.tableView().setEditing(!datesEdit_, Animated::Yes);
  ui.logDatesEditButton.setTitle(datesEdit_ ? "Edit" : "Done");
  datesEdit_ = !datesEdit_;
}

void VelomarAppDelegate::graphDurationAction(Sender) { interface_->graphView.setNeedsDisplay(); }

void VelomarAppDelegate::updateMuscleText() {
  interface_->MusclesText.setText(MuscleText::forExercise(exercises_, selectedExercise_));
}

// ---- The exercise screen

void VelomarAppDelegate::velomarTabSelect() { ExerciseScreen(*this).show(); }
void VelomarAppDelegate::velomarFlipView() { ExerciseScreen(*this).flipCard(); }
void VelomarAppDelegate::kinetraHelpSelect(Sender) { velomarFlipView(); }
void VelomarAppDelegate::segmentAction(Sender) { ExerciseScreen(*this).barControlTapped(); }
void VelomarAppDelegate::logView(bool close) {
  ExerciseScreen screen(*this);
  if (close) {
    screen.closePane();
  } else {
    screen.openPane();
  }
}
void VelomarAppDelegate::logDoneSelect(Sender) { ExerciseScreen(*this).leavePane(); }
void VelomarAppDelegate::velomarBackSelect(Sender) {
  interface_->tabBarController.setSelectedIndex(lastTabIndex_);
}

// ---- The entry panes

void VelomarAppDelegate::addLog(Sender) {
  catchUpWithTheClock();
  StrengthEntryPane(*this).addSet();
}
void VelomarAppDelegate::addAerobics(Sender) {
  catchUpWithTheClock();
  AerobicEntryPane(*this).addSet();
}
void VelomarAppDelegate::logEdit(Sender) { EntryPaneEditing(*this).toggle(); }

void VelomarAppDelegate::reportSkippedKeys(const DayList& list) {
  std::vector<std::string_view> fresh;
  for (const std::string& key : list.skippedKeys) {
    if (reportedKeys_.insert(key).second) fresh.push_back(key);
  }
  if (fresh.empty()) return;
  std::string line = std::to_string(fresh.size()) +
                     " day key(s) of the logs are not dates in the current date style; they are "
                     "kept in the files but left out of the day lists:";
  for (std::size_t i = 0; i < std::min(fresh.size(), kKeysPerReport); ++i) {
    line += std::string(i == 0 ? " \"" : ", \"") + std::string(fresh[i]) + "\"";
  }
  if (fresh.size() > kKeysPerReport) line += ", ...";
  runLoop_.log().line(line);
}

}  // namespace kinetra
