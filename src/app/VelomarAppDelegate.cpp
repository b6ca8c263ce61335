#include "app/VelomarAppDelegate.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/ExerciseOpener.h"
#include "app/ExerciseScreen.h"
#include "app/WorkoutPanels.h"
#include "catalogue/CustomExercisePhoto.h"
#include "catalogue/MuscleText.h"
#include "foundation/PropertyListReader.h"
#include "foundation/RunLoop.h"
#include "graph/GraphPlot.h"
#include "logging/AerobicEntryPane.h"
#include "logging/CsvImport.h"
#include "logging/EntryPaneEditing.h"
#include "logging/LogExport.h"
#include "logging/RecordsText.h"
#include "logging/StrengthEntryPane.h"
#include "model/DayList.h"
#include "ui/Application.h"

namespace kinetra {

namespace {

// The single workout of an earlier version, migrated once into the workouts.
constexpr std::string_view kSingleWorkoutFile = "Kinetra.plist";
constexpr std::string_view kSeparator = "separator";
constexpr std::string_view kMigratedWorkoutName = "Current Workout";
constexpr std::string_view kConnectionNotice = "Requires WIFI or cellular data connection";
constexpr int kRoutinesTab = 3;
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
    strings.emplace_back(element.asString());
  }
  return strings;
}

}  // namespace

VelomarAppDelegate::VelomarAppDelegate(RunLoop& runLoop, Environment environment)
    : runLoop_(runLoop),
      bundle_(std::move(environment.resourceDirectory)),
      userFiles_(DocumentsDirectory(std::move(environment.documentsDirectory)), runLoop,
                 *environment.fileSystem),
      dateFormatter_(DateFormatter::mediumStyle(environment.dates)),
      monthDayFormatter_(DateFormatter::withPattern("MM/dd", environment.dates)),
      isoDayFormatter_(
          DateFormatter::withPattern("yyyy-MM-dd", {"en_US_POSIX", environment.dates.timeZone})),
      nameIndex_(dateFormatter_->localeName()),
      pictures_(bundle_, userFiles_.documents(), &userData_),
      userData_(userFiles_),
      records_(*dateFormatter_),
      dayKeysAhead_(runLoop, *dateFormatter_),
      mailer_(runLoop, std::move(environment.mail), *this),
      restTimer_(runLoop.clock(), userData_),
      interface_(std::make_unique<MainInterface>(
          MainInterface::State{userData_, selection_, records_, runLoop_.log(),
                               CatalogueState{catalogue_, exerciseList_, userData_.customExercises,
                                              selection_, flags_, pictures_, *this},
                               HistoryState{userData_, selection_, flags_, catalogue_,
                                            exerciseList_, pictures_, *this, records_},
                               WorkoutsState{userData_, selection_, flags_, catalogue_,
                                             exerciseList_, pictures_, *this}})) {}

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
  ui.velomarTabText->setDoubleTapAction([this] { return turnCardIfAllowed(); });
  ui.exerciseScreen.setDoubleTapAction([this] { return turnCardIfAllowed(); });
  setupData();
  prepareSavesTimer_ = runLoop_.schedule(0, [this] { userData_.prepareLogChanges(); });
  dayKeysAhead_.start({&userData_.exerciseLog, &userData_.aerobicsLog});
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
  flags_.refreshLogScroll = true;
  ui.logsScrollView.setPagingEnabled(true);
  ui.logsScrollView.setDelegate(this);

  imagePickerController_ = std::make_unique<ImagePickerController>();
  imagePickerController_->setDelegate(this);
  imagePickerController_->setSourceType(ImagePickerControllerSourceType::kPhotoLibrary);

  setUpTextInput();
  ui.emailLabel.setText(std::string(kConnectionNotice));
  ui.MusclesText.setFont(Font::italicSystemFontOfSize(12));
  ui.RecordsText.setFont(Font::italicSystemFontOfSize(12));
  for (TextField* field : {&ui.newWorkout, &ui.emailAddress}) {
    field->setFont(Font::systemFontOfSize(17));
  }
  ui.customName.setFont(Font::systemFontOfSize(17));
  flags_.flipEnabled = true;
  selection_.selectedDate = "none";
  ui.bodyButtonLabel.setFont(Font::boldSystemFontOfSize(12));
  ui.bodyButtonLabel.addTarget([this](Control& sender) { bodyButtonPressed(sender); },
                               ControlEvent::kTouchUpInside);

  const Date launch = now();
  ui.datePicker.setDate(launch);
  selection_.today = dayString(launch);
  todayFollowsClock_ = true;
  armDayChangeTimer();
  ui.bodyButtonView.setBackgroundColor(Color::clearColor());

  catalogue_ = Catalogue::load(bundle_);
  loadUserFiles();
  rebuildExerciseList();

  ui.velomarTabImage.setUserInteractionEnabled(true);
  ui.velomarTabText->setEditable(false);
  ui.velomarTabText->setFont(fontWithSize(ui.RoutineText.font(), 15));
  selection_.lastTabIndex = 0;

  makeHelpPage();
  makeBarControls();
  makeRestBar();

  giveTabsTheirPictures();
  ui.logTableController.setRecordMark(Image::resource(bundle_, "record_star", "png"));
  ui.tabBarController.setDelegate(this);
  for (NavigationController* navigation :
       {&ui.kinetraNavigationController, &ui.targetNavigationController,
        &ui.workoutsNavigationController, &ui.routineNavigationController,
        &ui.logNavigationController}) {
    navigation->setDelegate(this);
  }
}

void VelomarAppDelegate::giveTabsTheirPictures() {
  MainInterface& ui = *interface_;
  const std::pair<NavigationController*, std::string_view> tabs[] = {
      {&ui.kinetraNavigationController, "exercise"},
      {&ui.targetNavigationController, "catalogue"},
      {&ui.workoutsNavigationController, "workouts"},
      {&ui.routineNavigationController, "routines"},
      {&ui.logNavigationController, "log"}};
  for (const auto& [navigation, kind] : tabs) {
    const std::string name = "tab_" + std::string(kind);
    navigation->tabBarItem().image = Image::resource(bundle_, name, "png");
    navigation->tabBarItem().selectedImage = Image::resource(bundle_, name + "_selected", "png");
  }
}

void VelomarAppDelegate::setUpTextInput() {
  MainInterface& ui = *interface_;
  for (TextField* field :
       {&ui.newWorkout, &ui.emailAddress, &ui.note, &ui.aerobicsField1, &ui.aerobicsField2,
        &ui.aerobicsField3, &ui.aerobicsField4, &ui.aerobicsField5}) {
    field->setReturnKeyType(ReturnKeyType::kDone);
  }
  for (TextView* view : {&ui.customName, &ui.CustomDescription}) {
    view->setReturnKeyType(ReturnKeyType::kDone);
  }
  ui.emailAddress.setKeyboardType(KeyboardType::kEmailAddress);
  for (TextField* field :
       {&ui.aerobicsField1, &ui.aerobicsField2, &ui.aerobicsField3, &ui.aerobicsField4}) {
    field->setKeyboardType(KeyboardType::kNumbersAndPunctuation);
  }
  for (TextField* field : {&ui.weight, &ui.weightDecimal, &ui.reps}) {
    field->setKeyboardType(KeyboardType::kNumberPad);
  }
}

void VelomarAppDelegate::loadUserFiles() {
  userFiles_.removeInterruptedWrites();
  userData_.load();
  migrateSingleWorkout();
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
  PropertyList::Array& workouts = userData_.workouts.asArray();
  if (std::find(workouts.begin(), workouts.end(), PropertyList(workout)) != workouts.end()) {
    // Saved by an earlier run that ended before it could remove the older file: the workout is on
    // disk already, and adding it again would double it.
    std::error_code ignored;
    std::filesystem::remove(*path, ignored);
    return;
  }
  workouts.emplace_back(std::move(workout));
  interface_->workoutsTable.tableView().reloadData();
  // The old file goes only once its workout is safely on disk: a failed save keeps it, and
  // the next successful save of the workouts removes it. A failed save is reported by the save.
  userData_.removeAfterWorkoutsSaved(*path);
  static_cast<void>(userData_.saveWorkouts());
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
  ui.customSegmentedControl->addTarget([this](Control& sender) { customExercisesAction(sender); },
                                       ControlEvent::kValueChanged);
  ui.customExercisesButton = std::make_unique<BarButtonItem>(*ui.customSegmentedControl);
  ui.addExerciseButton.setAction([this](BarButtonItem& sender) { addExercise(sender); });
  ui.customExercisesNavigationTitle.setRightBarButtonItem(ui.customExercisesButton.get());

  ui.singleWorkoutSegmentedControl = barControl({std::string("Add"), std::string("Edit")}, 90);
  ui.singleWorkoutSegmentedControl->addTarget(
      [this](Control&) { interface_->customWorkoutAction(); }, ControlEvent::kValueChanged);
  ui.singleWorkoutButton = std::make_unique<BarButtonItem>(*ui.singleWorkoutSegmentedControl);
  ui.singleWorkoutNavigationTitle.setRightBarButtonItem(ui.singleWorkoutButton.get());

  ui.useLoggingDateButton.addTarget([this](Control& sender) { useLoggingDate(sender); },
                                    ControlEvent::kTouchUpInside);
  ui.logDatesEditButton.setAction([this](BarButtonItem& sender) { logDatesEdit(sender); });
  ui.emailSendButton.addTarget([this](Control& sender) { sendEmail(sender); },
                               ControlEvent::kTouchUpInside);
  ui.emailDownloadButton.addTarget([this](Control& sender) { downloadCsv(sender); },
                                   ControlEvent::kTouchUpInside);
  ui.emailImportButton.addTarget([this](Control& sender) { importCsv(sender); },
                                 ControlEvent::kTouchUpInside);
  ui.csvPicker.setDelegate(this);

  // The exercise screen's bar and the entry panes.
  ui.velomarBackButton.setAction([this](BarButtonItem& sender) { velomarBackSelect(sender); });
  ui.logDoneButton.setAction([this](BarButtonItem& sender) { logDoneSelect(sender); });
  ui.logEditButton.setAction([this](BarButtonItem& sender) { logEdit(sender); });
  ui.logAddButton.addTarget([this](Control& sender) { addLog(sender); },
                            ControlEvent::kTouchUpInside);
  ui.aerobicsAddButton.addTarget([this](Control& sender) { addAerobics(sender); },
                                 ControlEvent::kTouchUpInside);
}

void VelomarAppDelegate::makeRestBar() {
  RestBar& bar = interface_->restBar;
  bar.shorter.addTarget([this](Control& sender) { restShorter(sender); },
                        ControlEvent::kTouchUpInside);
  bar.longer.addTarget([this](Control& sender) { restLonger(sender); },
                       ControlEvent::kTouchUpInside);
  bar.cancel.addTarget([this](Control& sender) { restCancel(sender); },
                       ControlEvent::kTouchUpInside);
  restTimer_.setChanged([this] { interface_->restBar.show(restTimer_, interface_->logTableView); });
}

// ---- The exercise list

void VelomarAppDelegate::rebuildExerciseList() {
  ExerciseRecords& exercises = exerciseList_.exercises;
  exercises = catalogue_.catalogueExercises;
  exercises.insert(exercises.end(), userData_.customExercises.begin(),
                   userData_.customExercises.end());
  buildNameIndex();
}

void VelomarAppDelegate::buildNameIndex() {
  nameIndex_.build(exerciseList_.exercises, exerciseList_.indexedExercises,
                   exerciseList_.exerciseNameIndexArray);
}

// ---- Day strings

void VelomarAppDelegate::createPreviousDates() {
  const std::string& exercise = selection_.selectedExercise;
  const PropertyList& log =
      isAerobicExercise(exercise) ? userData_.aerobicsLog : userData_.exerciseLog;
  DayList list = DayList::daysWithExercise(log, exercise, *dateFormatter_);
  reportSkippedKeys(list);
  selection_.previousDates = std::move(list.days);
}

void VelomarAppDelegate::createLogDates(int days) {
  DayList list = DayList::daysWithin(userData_.exerciseLog, userData_.aerobicsLog, now(), days,
                                     *dateFormatter_);
  reportSkippedKeys(list);
  selection_.limitedDates = std::move(list.days);
}

void VelomarAppDelegate::useLoggingDate(Sender) {
  MainInterface& ui = *interface_;
  selection_.today = dayString(ui.datePicker.date());
  todayFollowsClock_ = selection_.today == dayString(now());
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
    runLoop_.log().line("The clock's day has no next day; the logging day stays " +
                        selection_.today);
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
  if (day == selection_.today) return;
  selection_.today = std::move(day);
  interface_->datePicker.setDate(moment);
  reloadTodaysTables();
}

void VelomarAppDelegate::logDatesEdit(Sender) {
  MainInterface& ui = *interface_;
  ui.LimitedLogTableView.tableView().setEditing(!flags_.datesEdit, Animated::Yes);
  ui.logDatesEditButton.setTitle(flags_.datesEdit ? "Edit" : "Done");
  flags_.datesEdit = !flags_.datesEdit;
}

void VelomarAppDelegate::graphDurationAction(Sender) { updateGraph(); }

void VelomarAppDelegate::updateGraph() {
  MainInterface& ui = *interface_;
  createPreviousDates();
  ui.noGraph.removeFromSuperview();
  if (selection_.previousDates.size() < 2) {
    ui.graphView.addSubview(ui.noGraph);
    ui.graphView.setPlot(std::nullopt);
    return;
  }
  ui.graphView.setPlot(
      GraphPlot::make({selection_.previousDates, userData_.exerciseLog, selection_.selectedExercise,
                       ui.graphDuration.selectedSegmentIndex(), ui.graphType.selectedSegmentIndex(),
                       *dateFormatter_, *monthDayFormatter_}));
}

void VelomarAppDelegate::updateMuscleText() {
  interface_->MusclesText.setText(
      MuscleText::forExercise(exerciseList_.exercises, selection_.selectedExercise));
}

void VelomarAppDelegate::updateRecordsText() {
  const std::string& exercise = selection_.selectedExercise;
  interface_->RecordsText.setText(
      isAerobicExercise(exercise)
          ? std::string()
          : RecordsText::describe(records_.of(userData_.exerciseLog, exercise)));
}

bool VelomarAppDelegate::turnCardIfAllowed() {
  if (!flags_.flipEnabled) return false;
  velomarFlipView();
  return true;
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
  interface_->tabBarController.setSelectedIndex(selection_.lastTabIndex);
}

// ---- The entry panes

void VelomarAppDelegate::addLog(Sender) {
  catchUpWithTheClock();
  if (StrengthEntryPane(*interface_, loggingState()).addSet()) {
    restTimer_.start(selection_.selectedExercise);
  }
}
void VelomarAppDelegate::addAerobics(Sender) {
  catchUpWithTheClock();
  AerobicEntryPane(*interface_, loggingState()).addSet();
}
void VelomarAppDelegate::logEdit(Sender) {
  EntryPaneEditing(*interface_, interface_->velomarNavigationTitle, loggingState()).toggle();
}

void VelomarAppDelegate::restShorter(Sender) { restTimer_.shorten(); }
void VelomarAppDelegate::restLonger(Sender) { restTimer_.lengthen(); }
void VelomarAppDelegate::restCancel(Sender) { restTimer_.cancel(); }

LoggingState VelomarAppDelegate::loggingState() {
  return {userData_, selection_, flags_, runLoop_.log(), records_};
}

// ---- The export page

void VelomarAppDelegate::sendEmail(Sender) { LogExport(*interface_, exportState()).sendEmail(); }
void VelomarAppDelegate::downloadCsv(Sender) {
  LogExport(*interface_, exportState()).downloadCsv();
}
void VelomarAppDelegate::messageSent(SMTPMessage& message) {
  mailer_.dispose(message);
  LogExport(*interface_, exportState()).messageSent();
}
void VelomarAppDelegate::messageFailed(SMTPMessage& message, const SMTPError& error) {
  mailer_.dispose(message);
  LogExport(*interface_, exportState()).messageFailed(error.code, error.description);
}

ExportState VelomarAppDelegate::exportState() {
  return {userData_,      selection_, *dateFormatter_, now(), userFiles_.documents(),
          runLoop_.log(), mailer_};
}

void VelomarAppDelegate::importCsv(Sender) { CsvImport(*interface_, importState()).chooseFile(); }

void VelomarAppDelegate::didPickDocument(DocumentPickerController&,
                                         const std::vector<std::uint8_t>& bytes) {
  CsvImport(*interface_, importState()).fileChosen(bytes);
  reloadTodaysTables();
  interface_->customExercisesTableView.tableView().reloadData();
}

void VelomarAppDelegate::documentPickerWasCancelled(DocumentPickerController&) {
  CsvImport(*interface_, importState()).cancelled();
}

ImportState VelomarAppDelegate::importState() {
  return {userData_, exerciseList_,  *dateFormatter_, *isoDayFormatter_,
          *this,     runLoop_.log(), records_};
}

// ---- What the catalogue's lists ask for

void VelomarAppDelegate::openExercise(const PropertyList& record, From from) {
  ExerciseOpener::open(*this, record, from);
}
void VelomarAppDelegate::showRegion(const std::string& region) {
  interface_->pushRegionList(region);
}
void VelomarAppDelegate::showBodyMap() { interface_->pushBodyMap(); }
void VelomarAppDelegate::showMuscle(const std::string& muscle) {
  interface_->pushMuscleList(muscle);
}
void VelomarAppDelegate::bodyButtonPressed(Sender) { interface_->body.labelTapped(); }
void VelomarAppDelegate::showCompleteList() { interface_->pushCompleteList(); }
void VelomarAppDelegate::showCustomExercises() { interface_->pushCustomExercises(); }
void VelomarAppDelegate::showNewCustomExercise() { interface_->pushNewCustomExercise(); }

void VelomarAppDelegate::showPhotoPicker() {
  NavigationController& navigation = interface_->targetNavigationController;
  navigation.pushViewController(*imagePickerController_, Animated::Yes);
  navigation.setNavigationBarHidden(true, Animated::Yes);
}

void VelomarAppDelegate::removeCustom() {
  // The custom exercises in memory are authoritative: a save that failed must not bring back the
  // file's older list (see UserData).
  rebuildExerciseList();
  interface_->FullListTableView.tableView().reloadData();
}

void VelomarAppDelegate::reloadWorkoutList() { interface_->workoutsTable.tableView().reloadData(); }

// ---- The user's own exercises

void VelomarAppDelegate::customExercisesAction(Sender) {
  MainInterface& ui = *interface_;
  ui.customExercisesAction(ui.customSegmentedControl->selectedSegmentIndex());
}

void VelomarAppDelegate::addExercise(Sender) { interface_->addExercise(); }

void VelomarAppDelegate::didFinishPickingImage(ImagePickerController&, const Image& image) {
  Result<CustomExercisePhoto> photo = CustomExercisePhoto::from(image);
  if (photo.ok()) {
    interface_->photoPicked(std::move(photo->picture), std::move(photo->thumbnail));
  } else {
    runLoop_.log().line("the picked photo could not be drawn: " + photo.status().toString());
  }
  closePhotoPicker();
}

void VelomarAppDelegate::imagePickerControllerDidCancel(ImagePickerController&) {
  closePhotoPicker();
}

void VelomarAppDelegate::closePhotoPicker() {
  NavigationController& navigation = interface_->targetNavigationController;
  navigation.popViewControllerAnimated(Animated::Yes);
  navigation.setNavigationBarHidden(false, Animated::Yes);
}

// ---- What the history screens ask for

std::string VelomarAppDelegate::clockDay() const { return dayString(now()); }

void VelomarAppDelegate::pushOnExerciseTab(ViewController& page) {
  interface_->kinetraNavigationController.pushViewController(page, Animated::Yes);
}

// ---- What the workout screens ask for

void VelomarAppDelegate::openWorkoutExercise(const std::string& name) {
  ExerciseOpener::openFromWorkout(*this, name);
}

void VelomarAppDelegate::logFromWorkoutRow(int row) { WorkoutPanels(*this).logFromRow(row); }

void VelomarAppDelegate::scrollViewDidScroll(ScrollView& scrollView) {
  if (&scrollView == &interface_->logsScrollView) WorkoutPanels(*this).scrolled();
}

void VelomarAppDelegate::scrollViewWillBeginDecelerating(ScrollView& scrollView) {
  if (&scrollView == &interface_->logsScrollView) flags_.refreshLogScroll = true;
}

void VelomarAppDelegate::openRoutineExercise(const std::string& name) {
  ExerciseOpener::openFromRoutine(*this, name);
}

void VelomarAppDelegate::quickLogRoutineExercise(const std::string& name) {
  ExerciseScreen(*this).quickLog(name, kRoutinesTab);
}

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
