#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/MainInterface.h"
#include "app/Sender.h"
#include "foundation/DateFormatter.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/PropertyList.h"
#include "foundation/ResourceBundle.h"
#include "foundation/Timer.h"
#include "model/ExerciseRecord.h"
#include "model/NameIndex.h"
#include "model/UserFileStore.h"
#include "ui/ApplicationDelegate.h"
#include "ui/Image.h"
#include "ui/ImagePickerControllerDelegate.h"
#include "ui/NavigationControllerDelegate.h"
#include "ui/ScrollViewDelegate.h"
#include "ui/TabBarControllerDelegate.h"
#include "ui/TextFieldDelegate.h"

namespace kinetra {

class RunLoop;
struct DayList;

// The shared state of the whole application: the catalogue, the user's data, the current
// selection, the editing flags and every screen and control that more than one screen touches.
// One object, made before launch and kept until the process ends; every screen reaches it
// through the application singleton (shared()) and reads or writes its fields on each call.
//
// Fields start empty, false or zero; launch (applicationDidFinishLaunching, then setupData)
// gives them their start-up values. Every field has an accessor pair named after it
// (`today()`, `setToday()`); collections also hand out a modifiable reference, since the screens
// change them in place. The in-memory fields are authoritative: after changing a field a screen
// saves it with the matching save function, which writes the whole file atomically. Exercise
// records are shared (see ExerciseRecord): `exercises`, `indexedExercises` and the browsing
// lists hold the very records of `customExercises`.
//
// Everything runs on the run loop's thread. The run loop must outlive this object.
class VelomarAppDelegate : public ApplicationDelegate,
                           public TabBarControllerDelegate,
                           public ScrollViewDelegate,
                           public TextFieldDelegate,
                           public NavigationControllerDelegate,
                           public ImagePickerControllerDelegate {
 public:
  struct Environment {
    std::filesystem::path documentsDirectory;
    std::filesystem::path resourceDirectory;
    // The locale and time zone of day strings; the locale also orders the name index.
    DateFormatter::Options dates;
  };

  // Makes the main interface (the window's content is put in place at launch).
  VelomarAppDelegate(RunLoop& runLoop, Environment environment);
  // dealloc: gives up the tab bar controller and the window's content.
  ~VelomarAppDelegate() override;
  VelomarAppDelegate(const VelomarAppDelegate&) = delete;
  VelomarAppDelegate& operator=(const VelomarAppDelegate&) = delete;

  // The application's delegate when it is this class; null before launch.
  static VelomarAppDelegate* shared();

  // ---- Start-up
  void applicationDidFinishLaunching(Application& application) override;
  // SetupData: creates the controls made in code, loads the catalogue and the user's files,
  // migrates an older single workout, and builds the exercise list and its name index.
  void setupData();

  // ---- The stored files. Each writes its field whole and atomically; a failure is reported
  // as a diagnostic line and returned, and the field keeps its value for the next save.
  Status saveWorkouts();
  Status saveCustomExercises();
  Status saveExerciseLog();
  Status saveAerobicsLog();
  Status saveSettings();

  // `exercises` = the catalogue's records followed by `customExercises` (shared), then the name
  // index anew. Run after the custom exercises change.
  void rebuildExerciseList();
  // The name index of `exercises`: `indexedExercises` and `exerciseNameIndexArray`.
  void buildNameIndex();

  // ---- Day strings
  // `previousDates`: the days on which `selectedExercise` has an entry, oldest first.
  void createPreviousDates();
  // `limitedDates`: the days of either log less than `days` days before now, oldest first.
  void createLogDates(int days);
  // The day chosen in `datePicker` becomes `today`; the tables showing it are reloaded and the
  // date page is left. Choosing the clock's current day makes `today` follow the clock again;
  // any other day holds until the user chooses again.
  void useLoggingDate(Sender sender = {});
  // True while the user has not chosen a logging day of their own: `today` is then the clock's
  // current day, moved on at each local midnight by a timer on the run loop's clock.
  bool todayFollowsClock() const { return todayFollowsClock_; }
  // Switches the list of history days in or out of editing mode.
  void logDatesEdit(Sender sender = {});
  // The graph's controls changed: the graph is drawn again.
  void graphDurationAction(Sender sender = {});
  // Rebuilds the text of `MusclesText` from `selectedExercise` (set it first).
  void updateMuscleText();

  // ---- The exercise screen (tab 0)
  // Shows `selectedExercise` on the exercise screen's front and selects tab 0. The opening
  // lists call it after setting the selection, the picture, the description and the muscles.
  void velomarTabSelect();
  // Turns the card: front to back or back to front, as one 0.75-second flip.
  void velomarFlipView();
  // The information button: turns the card.
  void kinetraHelpSelect(Sender sender = {});
  // The bar control: segment 0 turns the card, 1 opens the entry pane, 2 shows the graph.
  void segmentAction(Sender sender = {});
  // Opens (close false) or closes (close true) the entry pane of `selectedExercise`.
  void logView(bool close);
  // The pane's Done button: back to the tab the exercise came from, or closes the pane.
  void logDoneSelect(Sender sender = {});
  // The back button: back to the tab in `lastTabIndex`.
  void velomarBackSelect(Sender sender = {});

  // ---- The entry panes
  // Logs one strength set from the pane's fields under `today` and writes the strength log.
  void addLog(Sender sender = {});
  // Logs one aerobic set from the pane's fields; five empty fields do nothing.
  void addAerobics(Sender sender = {});
  // Switches the shown pane's table in or out of editing mode.
  void logEdit(Sender sender = {});

  // "Now", from the run loop's clock; and the day string of a moment.
  Date now() const;
  std::string dayString(Date moment) const;
  const DateFormatter& dateFormatter() const { return *dateFormatter_; }
  // The graph's date axis: "MM/dd" in the locale and time zone of the day strings.
  const DateFormatter& monthDayFormatter() const { return *monthDayFormatter_; }
  const ResourceBundle& bundle() const { return bundle_; }
  const UserFileStore& userFiles() const { return userFiles_; }
  // Where the application says what went wrong (standard error when running).
  DiagnosticLog& diagnosticLog();

  // ---- Screens and controls, by the names the system knows them by.
  MainInterface& interface() { return *interface_; }

  // ---- Catalogue and name index
  ExerciseRecords& exercises() { return exercises_; }
  void setExercises(ExerciseRecords value) { exercises_ = std::move(value); }
  ExerciseRecords& customExercises() { return customExercises_; }
  void setCustomExercises(ExerciseRecords value) { customExercises_ = std::move(value); }
  std::vector<std::string>& targets() { return targets_; }
  void setTargets(std::vector<std::string> value) { targets_ = std::move(value); }
  std::vector<std::vector<std::string>>& muscles() { return muscles_; }
  void setMuscles(std::vector<std::vector<std::string>> value) { muscles_ = std::move(value); }
  PropertyList::Array& routines() { return routines_; }
  void setRoutines(PropertyList::Array value) { routines_ = std::move(value); }
  std::vector<std::string>& logDates() { return logDates_; }
  void setLogDates(std::vector<std::string> value) { logDates_ = std::move(value); }
  NameIndex::Sections& indexedExercises() { return indexedExercises_; }
  void setIndexedExercises(NameIndex::Sections value) { indexedExercises_ = std::move(value); }
  std::vector<std::string>& exerciseNameIndexArray() { return exerciseNameIndexArray_; }
  void setExerciseNameIndexArray(std::vector<std::string> value) {
    exerciseNameIndexArray_ = std::move(value);
  }

  // ---- User data (arrays and dictionaries, in the shape of their files)
  PropertyList& workouts() { return workouts_; }
  void setWorkouts(PropertyList value) { workouts_ = std::move(value); }
  std::vector<std::string>& tempWorkout() { return tempWorkout_; }
  void setTempWorkout(std::vector<std::string> value) { tempWorkout_ = std::move(value); }
  PropertyList& exerciseLog() { return exerciseLog_; }
  void setExerciseLog(PropertyList value) { exerciseLog_ = std::move(value); }
  PropertyList& aerobicsLog() { return aerobicsLog_; }
  void setAerobicsLog(PropertyList value) { aerobicsLog_ = std::move(value); }
  PropertyList& settings() { return settings_; }
  void setSettings(PropertyList value) { settings_ = std::move(value); }

  // ---- Selection and working values
  const std::string& selectedExercise() const { return selectedExercise_; }
  void setSelectedExercise(std::string value) { selectedExercise_ = std::move(value); }
  const std::string& today() const { return today_; }
  void setToday(std::string value) { today_ = std::move(value); }
  // A day string, "none" after start-up, or no value.
  const std::optional<std::string>& selectedDate() const { return selectedDate_; }
  void setSelectedDate(std::optional<std::string> value) { selectedDate_ = std::move(value); }
  std::vector<std::string>& previousDates() { return previousDates_; }
  void setPreviousDates(std::vector<std::string> value) { previousDates_ = std::move(value); }
  std::vector<std::string>& limitedDates() { return limitedDates_; }
  void setLimitedDates(std::vector<std::string> value) { limitedDates_ = std::move(value); }
  const std::string& fixedWeight() const { return fixedWeight_; }
  void setFixedWeight(std::string value) { fixedWeight_ = std::move(value); }
  const std::string& selectedTarget() const { return selectedTarget_; }
  void setSelectedTarget(std::string value) { selectedTarget_ = std::move(value); }
  PropertyList& selectedRoutine() { return selectedRoutine_; }
  void setSelectedRoutine(PropertyList value) { selectedRoutine_ = std::move(value); }
  ExerciseRecords& targetExercises() { return targetExercises_; }
  void setTargetExercises(ExerciseRecords value) { targetExercises_ = std::move(value); }
  ExerciseRecords& primaryMuscle() { return primaryMuscle_; }
  void setPrimaryMuscle(ExerciseRecords value) { primaryMuscle_ = std::move(value); }
  ExerciseRecords& additionalMuscle() { return additionalMuscle_; }
  void setAdditionalMuscle(ExerciseRecords value) { additionalMuscle_ = std::move(value); }
  int lastTabIndex() const { return lastTabIndex_; }
  void setLastTabIndex(int value) { lastTabIndex_ = value; }
  const Image& customImage() const { return customImage_; }
  void setCustomImage(Image value) { customImage_ = std::move(value); }
  const Image& customImage_t() const { return customImage_t_; }
  void setCustomImage_t(Image value) { customImage_t_ = std::move(value); }
  // Null before start-up.
  ImagePickerController* imagePickerController() const { return imagePickerController_.get(); }
  void setImagePickerController(std::unique_ptr<ImagePickerController> value) {
    imagePickerController_ = std::move(value);
  }

  // ---- Flags
  bool backViewIsVisible() const { return backViewIsVisible_; }
  void setBackViewIsVisible(bool value) { backViewIsVisible_ = value; }
  bool doneLogo() const { return doneLogo_; }
  void setDoneLogo(bool value) { doneLogo_ = value; }
  bool flipEnabled() const { return flipEnabled_; }
  void setFlipEnabled(bool value) { flipEnabled_ = value; }
  bool logEditing() const { return logEditing_; }
  void setLogEditing(bool value) { logEditing_ = value; }
  bool datesEdit() const { return datesEdit_; }
  void setDatesEdit(bool value) { datesEdit_ = value; }
  bool editing() const { return editing_; }
  void setEditing(bool value) { editing_ = value; }
  bool singleWorkoutEditing() const { return singleWorkoutEditing_; }
  void setSingleWorkoutEditing(bool value) { singleWorkoutEditing_ = value; }
  bool addingExerciseToWorkout() const { return addingExerciseToWorkout_; }
  void setAddingExerciseToWorkout(bool value) { addingExerciseToWorkout_ = value; }
  bool customEditing() const { return customEditing_; }
  void setCustomEditing(bool value) { customEditing_ = value; }
  bool editingCustomExercise() const { return editingCustomExercise_; }
  void setEditingCustomExercise(bool value) { editingCustomExercise_ = value; }
  bool selectedCustomImage() const { return selectedCustomImage_; }
  void setSelectedCustomImage(bool value) { selectedCustomImage_ = value; }
  bool useLogScroll() const { return useLogScroll_; }
  void setUseLogScroll(bool value) { useLogScroll_ = value; }
  bool refreshLogScroll() const { return refreshLogScroll_; }
  void setRefreshLogScroll(bool value) { refreshLogScroll_ = value; }

 private:
  void makeInformationButton();
  void setUpTextInput();
  void loadCatalogue();
  void loadUserFiles();
  void migrateSingleWorkout();
  void makeHelpPage();
  void makeBarControls();
  void giveGroupBackgrounds();
  // Writes one line naming the keys of `list` that could not be read as days, once per key
  // and run.
  void reportSkippedKeys(const DayList& list);
  // Removes "Kinetra.plist" once its workout is safely in "Workouts.plist".
  void finishMigration();
  // Schedules localDayChanged() for the start of the next local day.
  void armDayChangeTimer();
  void localDayChanged();
  // While following the clock, moves `today` to the clock's day when they differ. Also run
  // before a set is stored: the monotonic timers stand still while the machine sleeps, so a
  // midnight passed asleep is noticed here at the latest.
  void catchUpWithTheClock();
  // The tables that show `today`.
  void reloadTodaysTables();

  RunLoop& runLoop_;
  ResourceBundle bundle_;
  UserFileStore userFiles_;
  std::unique_ptr<DateFormatter> dateFormatter_;
  std::unique_ptr<DateFormatter> monthDayFormatter_;
  NameIndex nameIndex_;
  std::set<std::string, std::less<>> reportedKeys_;
  bool migrationPending_ = false;
  bool todayFollowsClock_ = true;
  Timer dayChangeTimer_;
  ExerciseRecords catalogueExercises_;

  ExerciseRecords exercises_;
  ExerciseRecords customExercises_;
  std::vector<std::string> targets_;
  std::vector<std::vector<std::string>> muscles_;
  PropertyList::Array routines_;
  std::vector<std::string> logDates_;
  NameIndex::Sections indexedExercises_;
  std::vector<std::string> exerciseNameIndexArray_;

  PropertyList workouts_ = PropertyList::Array{};
  std::vector<std::string> tempWorkout_;
  PropertyList exerciseLog_ = PropertyList::Dictionary{};
  PropertyList aerobicsLog_ = PropertyList::Dictionary{};
  PropertyList settings_ = PropertyList::Dictionary{};

  std::string selectedExercise_;
  std::string today_;
  std::optional<std::string> selectedDate_;
  std::vector<std::string> previousDates_;
  std::vector<std::string> limitedDates_;
  std::string fixedWeight_;
  std::string selectedTarget_;
  PropertyList selectedRoutine_ = PropertyList::Dictionary{};
  ExerciseRecords targetExercises_;
  ExerciseRecords primaryMuscle_;
  ExerciseRecords additionalMuscle_;
  int lastTabIndex_ = 0;
  Image customImage_;
  Image customImage_t_;
  std::unique_ptr<ImagePickerController> imagePickerController_;

  bool backViewIsVisible_ = false;
  bool doneLogo_ = false;
  bool flipEnabled_ = false;
  bool logEditing_ = false;
  bool datesEdit_ = false;
  bool editing_ = false;
  bool singleWorkoutEditing_ = false;
  bool addingExerciseToWorkout_ = false;
  bool customEditing_ = false;
  bool editingCustomExercise_ = false;
  bool selectedCustomImage_ = false;
  bool useLogScroll_ = false;
  bool refreshLogScroll_ = false;

  // Last: made from the interface resource, destroyed first.
  std::unique_ptr<MainInterface> interface_;
};

}  // namespace kinetra
