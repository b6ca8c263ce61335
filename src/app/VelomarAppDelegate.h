#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/LogMailer.h"
#include "app/MainInterface.h"
#include "app/Sender.h"
#include "catalogue/CatalogueNavigation.h"
#include "catalogue/ExercisePictures.h"
#include "foundation/DateFormatter.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileSystem.h"
#include "foundation/PropertyList.h"
#include "foundation/ResourceBundle.h"
#include "foundation/Timer.h"
#include "logging/ExportState.h"
#include "logging/HistoryNavigation.h"
#include "logging/ImportState.h"
#include "logging/LoggingState.h"
#include "logging/RestTimer.h"
#include "mail/MailAccount.h"
#include "mail/SMTPMessageDelegate.h"
#include "model/Catalogue.h"
#include "model/DayKeysAhead.h"
#include "model/EditingFlags.h"
#include "model/ExerciseList.h"
#include "model/NameIndex.h"
#include "model/RecordBook.h"
#include "model/Selection.h"
#include "model/UserData.h"
#include "model/UserFileStore.h"
#include "ui/ApplicationDelegate.h"
#include "ui/DocumentPickerControllerDelegate.h"
#include "ui/ImagePickerController.h"
#include "ui/ImagePickerControllerDelegate.h"
#include "ui/NavigationControllerDelegate.h"
#include "ui/ScrollViewDelegate.h"
#include "ui/TabBarControllerDelegate.h"
#include "ui/TextFieldDelegate.h"
#include "workouts/WorkoutsNavigation.h"

namespace kinetra {

class RunLoop;
struct DayList;

// The shared state of the whole application and its wiring: the catalogue, the exercise list,
// the user's data, the current selection, the editing flags and the screens, each group a
// struct of the rule its fields follow. One object, made before launch and kept until the
// process ends. Screens get the groups they read and write through their constructors, and ask
// for other screens through the interfaces this class implements (CatalogueNavigation); the
// actions of the controls made here are its member functions.
//
// Fields start empty, false or zero; launch (applicationDidFinishLaunching, then setupData)
// gives them their start-up values. The user's data in memory is authoritative: after changing
// a field a screen saves it with the matching save of UserData, which writes the whole file
// atomically. Exercise records are shared (see ExerciseRecord): `exercises`,
// `indexedExercises` and the browsing lists hold the very records of `customExercises`.
//
// Everything runs on the run loop's thread. The run loop must outlive this object.
class VelomarAppDelegate : public ApplicationDelegate,
                           public TabBarControllerDelegate,
                           public ScrollViewDelegate,
                           public TextFieldDelegate,
                           public NavigationControllerDelegate,
                           public ImagePickerControllerDelegate,
                           public DocumentPickerControllerDelegate,
                           public CatalogueNavigation,
                           public HistoryNavigation,
                           public WorkoutsNavigation,
                           public SMTPMessageDelegate {
 public:
  struct Environment {
    std::filesystem::path documentsDirectory;
    std::filesystem::path resourceDirectory;
    // The locale and time zone of day strings; the locale also orders the name index.
    DateFormatter::Options dates;
    // The user's mail account for exports; none: exports can only be downloaded.
    std::optional<MailAccount> mail;
    // What the user's files are written through; it must outlive the delegate.
    FileSystem* fileSystem = &FileSystem::system();
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
  void createPreviousDates() override;
  // `limitedDates`: the days of either log less than `days` days before now, oldest first.
  void createLogDates(int days) override;
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
  // The body map's label: the exercises of the muscle it names.
  void bodyButtonPressed(Sender sender = {});
  // Rebuilds the text of `MusclesText` from `selectedExercise` (set it first).
  void updateMuscleText();
  // The personal records of `selectedExercise` into `RecordsText`; empty for an aerobic one.
  void updateRecordsText();
  // Works the graph's plot out from the log for `selectedExercise` and the graph's two
  // controls, `previousDates` first, and hands it to the graph view; with fewer than two logged
  // days the graph gets no plot and shows the `noGraph` picture instead.
  void updateGraph();

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
  // Logs one strength set from the pane's fields under `today` and writes the strength log;
  // a set logged starts the rest countdown for its exercise (see RestTimer).
  void addLog(Sender sender = {});
  // Logs one aerobic set from the pane's fields; five empty fields do nothing.
  void addAerobics(Sender sender = {});
  // Switches the shown pane's table in or out of editing mode.
  void logEdit(Sender sender = {});
  // The parts of the state the entry panes work on.
  LoggingState loggingState();

  // ---- The rest countdown (RestTimer, shown by the strength pane's RestBar)
  // The strip's buttons: 15 s shorter, 15 s longer, cancel (or put away the end of a rest).
  void restShorter(Sender sender = {});
  void restLonger(Sender sender = {});
  void restCancel(Sender sender = {});
  const RestTimer& restTimer() const { return restTimer_; }

  // ---- The export page (LogExport)
  // Mails the log of the chosen period as CSV through the configured account.
  void sendEmail(Sender sender = {});
  // Hands the browser the same CSV to save.
  void downloadCsv(Sender sender = {});
  // The end of one export's conversation: the message is disposed of, the label updated.
  void messageSent(SMTPMessage& message) override;
  void messageFailed(SMTPMessage& message, const SMTPError& error) override;
  ExportState exportState();
  const LogMailer& mailer() const { return mailer_; }
  // "Import CSV": the file picker; the chosen file taken into the logs (CsvImport), the tables
  // showing the logging day reloaded.
  void importCsv(Sender sender = {});
  void didPickDocument(DocumentPickerController& picker,
                       const std::vector<std::uint8_t>& bytes) override;
  void documentPickerWasCancelled(DocumentPickerController& picker) override;
  ImportState importState();

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
  // The photo picker (made at start-up).
  ImagePickerController& imagePickerController() { return *imagePickerController_; }

  // ---- The state, by the rule each group follows (see the members below).
  Catalogue& catalogue() { return catalogue_; }
  ExerciseList& exerciseList() { return exerciseList_; }
  UserData& userData() { return userData_; }
  Selection& selection() { return selection_; }
  EditingFlags& flags() { return flags_; }
  const ExercisePictures& pictures() const { return pictures_; }
  // The strength exercises' personal records, kept beside the strength log.
  RecordBook& records() { return records_; }

  // ---- What the catalogue's lists ask of the other screens
  void openExercise(const PropertyList& record, From from) override;
  void showRegion(const std::string& region) override;
  void showBodyMap() override;
  void showMuscle(const std::string& muscle) override;
  void showCompleteList() override;
  void showCustomExercises() override;
  void showNewCustomExercise() override;
  void showPhotoPicker() override;
  // The exercise list anew from the catalogue and the custom exercises in memory, and the
  // complete list reloaded.
  void removeCustom() override;
  void reloadWorkoutList() override;

  // ---- The user's own exercises
  // The custom list's "Add"/"Del" control.
  void customExercisesAction(Sender sender = {});
  // The editor's Save button.
  void addExercise(Sender sender = {});
  // The photo picker's outcome: the photo is drawn at the two sizes of an exercise's pictures
  // and held by the editor; the picker closes either way.
  void didFinishPickingImage(ImagePickerController& picker, const Image& image) override;
  void imagePickerControllerDidCancel(ImagePickerController& picker) override;

  // ---- What the history screens ask of the application
  std::string clockDay() const override;
  void pushOnExerciseTab(ViewController& page) override;

  // ---- What the workout screens ask of the application
  void openWorkoutExercise(const std::string& name) override;
  void logFromWorkoutRow(int row) override;

  // ---- The paging log panels' scroll view
  void scrollViewDidScroll(ScrollView& scrollView) override;
  void scrollViewWillBeginDecelerating(ScrollView& scrollView) override;
  void openRoutineExercise(const std::string& name) override;
  void quickLogRoutineExercise(const std::string& name) override;

 private:
  // The card turns on a double tap while turning is allowed (`flipEnabled`); true when it did.
  bool turnCardIfAllowed();
  void makeInformationButton();
  void closePhotoPicker();
  void setUpTextInput();
  // Each tab's picture, and its picture while selected, from the bundle.
  void giveTabsTheirPictures();
  void loadUserFiles();
  void migrateSingleWorkout();
  void makeHelpPage();
  void makeBarControls();
  void makeRestBar();
  void giveGroupBackgrounds();
  // Writes one line naming the keys of `list` that could not be read as days, once per key
  // and run.
  void reportSkippedKeys(const DayList& list);
  // Schedules localDayChanged() for the start of the next local day.
  void armDayChangeTimer();
  void localDayChanged();
  // While following the clock, moves `today` to the clock's day when they differ. Also run
  // before a set is stored: the monotonic timers stand still while the machine sleeps, so a
  // midnight passed asleep is noticed here at the latest.
  void catchUpWithTheClock();
  // The tables that show `today`.
  void reloadTodaysTables();

  // Constant after construction.
  RunLoop& runLoop_;
  ResourceBundle bundle_;
  UserFileStore userFiles_;
  std::unique_ptr<DateFormatter> dateFormatter_;
  std::unique_ptr<DateFormatter> monthDayFormatter_;
  // Imported files' "2019-01-11": the day strings' time zone, a fixed locale.
  std::unique_ptr<DateFormatter> isoDayFormatter_;
  NameIndex nameIndex_;
  ExercisePictures pictures_;

  // The catalogue: loaded at start-up, constant afterwards.
  Catalogue catalogue_;
  // Every exercise and its name index: rebuilt whenever the custom exercises change.
  ExerciseList exerciseList_;
  // The user's data: persisted, each field written by its save after every change.
  UserData userData_;
  // Worked out from the strength log and kept up to date with it; never stored.
  RecordBook records_;
  // The current selection and the logging day, with what keeps the day on the clock's.
  Selection selection_;
  bool todayFollowsClock_ = true;
  Timer dayChangeTimer_;
  // Readies the logs' saves once launching is done and the loop is idle.
  Timer prepareSavesTimer_;
  // Then reads the logs' day keys ahead, for the lists of days.
  DayKeysAhead dayKeysAhead_;
  // The screens' modes.
  EditingFlags flags_;
  // The day keys already reported as unreadable, once per run.
  std::set<std::string, std::less<>> reportedKeys_;
  // The exports under way.
  LogMailer mailer_;
  // The rest between strength sets: kept in the process, whichever screen is shown.
  RestTimer restTimer_;

  // The screens, last: made before launch, destroyed first.
  std::unique_ptr<ImagePickerController> imagePickerController_;  // made at start-up
  std::unique_ptr<MainInterface> interface_;
};

}  // namespace kinetra
