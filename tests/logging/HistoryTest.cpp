// The log tab and the history pages, through the finger and on the files.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/PngEncoder.h"
#include "logging/LogTabTableView.h"
#include "logging/LoggingTestSupport.h"
#include "ui/Font.h"

namespace kinetra::test {
namespace {

using Dictionary = PropertyList::Dictionary;
using Array = PropertyList::Array;

class HistoryTest : public LoggingTest {
 protected:
  void SetUp() override {
    LoggingTest::SetUp();
    ASSERT_TRUE(finger.selectTab(ui().tabBarController, 4).ok());
  }

  // Sets of `exercise` on `day` in the strength log, and the log written.
  void logStrength(const std::string& day, const std::string& exercise, Array sets) {
    put(app().userData().exerciseLog, day, exercise, std::move(sets));
    ASSERT_TRUE(app().userData().saveExerciseLog().ok());
  }
  void logAerobic(const std::string& day, const std::string& exercise, Array sets) {
    put(app().userData().aerobicsLog, day, exercise, std::move(sets));
    ASSERT_TRUE(app().userData().saveAerobicsLog().ok());
  }
  static void put(PropertyList& log, const std::string& day, const std::string& exercise,
                  Array sets) {
    auto [entries, added] = log.asDictionary().try_emplace(day, Dictionary{});
    static_cast<void>(added);
    entries->second.asDictionary()[exercise] = std::move(sets);
  }

  void chooseMenuRow(int row) {
    ASSERT_TRUE(finger.selectRow(ui().logTabTableView.tableView(), {0, row}).ok());
  }
  NavigationController& logTab() { return ui().logNavigationController; }

  // The section titles (header labels) and the row texts of the day-log screen.
  std::vector<std::string> dayLog() {
    std::vector<std::string> shown;
    ExerciseLogTableController& screen = ui().exerciseLogTableView;
    TableView& table = screen.tableView();
    table.layoutIfNeeded();
    for (int s = 0; s < table.numberOfSections(); ++s) {
      std::unique_ptr<View> header = screen.viewForHeaderInSection(table, s);
      for (View* view : header->subviews()) {
        if (auto* label = dynamic_cast<Label*>(view)) shown.push_back("[" + label->text() + "]");
      }
      for (int r = 0; r < table.numberOfRowsInSection(s); ++r) {
        TableViewCell* cell = table.cellForRowAtIndexPath({s, r});
        shown.push_back(cell != nullptr ? cell->text() : "(off screen)");
      }
    }
    return shown;
  }
};

TEST_F(HistoryTest, TheMenuShowsThePeriodsWithTheirPicturesAndTheExportRow) {
  TableView& menu = ui().logTabTableView.tableView();
  menu.layoutIfNeeded();
  ASSERT_EQ(menu.numberOfRowsInSection(0), 6);
  ASSERT_EQ(menu.numberOfRowsInSection(1), 1);
  TableViewCell* last = menu.cellForRowAtIndexPath({0, 5});
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->text(), "All Records");
  EXPECT_EQ(last->textLabel().font().style, Font::Style::kItalic);
  EXPECT_EQ(last->textLabel().font().pointSize, 20);
  EXPECT_EQ(menu.cellForRowAtIndexPath({0, 4})->textLabel().font().style, Font::Style::kRegular);
  EXPECT_EQ(menu.cellForRowAtIndexPath({1, 0})->text(), "Export logs to Email");
  EXPECT_EQ(LogTabTableView::pictureName("Past 30 days"), "Past_30_days");
  EXPECT_EQ(LogTabTableView::pictureName("Export logs to Email"), "Export_logs_to_Email");
}

TEST_F(HistoryTest, ThePreviousDayIsTheNewestLoggedDayBeforeTheLoggingDay) {
  // Nothing logged: no day and no title.
  chooseMenuRow(1);
  EXPECT_FALSE(app().selection().selectedDate.has_value());
  EXPECT_EQ(ui().logNavigationTitle.title(), "");
  EXPECT_EQ(logTab().topViewController(), &ui().exerciseLogTableView);
  EXPECT_EQ(dayLog(), std::vector<std::string>{"[]"});  // one empty section

  // Only the logging day: "No records".
  ASSERT_TRUE(finger.tapBackButton(logTab()).ok());
  logStrength(kToday, "Squat", Array{"100", "5", ""});
  chooseMenuRow(1);
  EXPECT_EQ(app().selection().selectedDate, "None");
  EXPECT_EQ(ui().logNavigationTitle.title(), "No records");

  // The logging day and earlier days: the newest earlier one.
  ASSERT_TRUE(finger.tapBackButton(logTab()).ok());
  logStrength("Mar 2, 2024", "Squat", Array{"90", "5", ""});
  logAerobic("Mar 12, 2024", " rowing", Array{"20", "4000", "", "", ""});
  chooseMenuRow(1);
  EXPECT_EQ(app().selection().selectedDate, "Mar 12, 2024");
  EXPECT_EQ(ui().logNavigationTitle.title(), "Mar 12, 2024");
  EXPECT_EQ(dayLog(),
            (std::vector<std::string>{"[ rowing]", "Set 1, 20(Duration), 4000(Distance)"}));

  // Only earlier days: the newest of them.
  ASSERT_TRUE(finger.tapBackButton(logTab()).ok());
  app().userData().exerciseLog.asDictionary().erase(kToday);
  chooseMenuRow(1);
  EXPECT_EQ(app().selection().selectedDate, "Mar 12, 2024");
}

TEST_F(HistoryTest, ThePastSevenDaysAreListedNewestFirstWhateverTheTimeOfDay) {
  for (const char* day : {"Mar 13, 2024", "Mar 14, 2024", "Mar 19, 2024", "Mar 20, 2024"}) {
    logStrength(day, "Squat", Array{"100", "5", ""});
  }
  logAerobic("Mar 16, 2024", " treadmill", Array{"30", "", "", "", ""});
  // At 23:59 the window is the day and the six before it; two minutes later it has moved on.
  clock().advanceTo(day("Mar 20, 2024").addingTimeInterval(23 * 3600 + 59 * 60));
  chooseMenuRow(2);
  EXPECT_EQ(ui().limitedLogNavigationTitle.title(), "Past 7 days");
  EXPECT_EQ(
      rowTexts(ui().LimitedLogTableView.tableView()),
      (std::vector<std::string>{"Mar 20, 2024", "Mar 19, 2024", "Mar 16, 2024", "Mar 14, 2024"}));
  EXPECT_EQ(ui().limitedLogNavigationTitle.rightBarButtonItem(), nullptr);
  ASSERT_TRUE(finger.tapBackButton(logTab()).ok());

  clock().advance(120);
  chooseMenuRow(2);
  EXPECT_EQ(rowTexts(ui().LimitedLogTableView.tableView()),
            (std::vector<std::string>{"Mar 20, 2024", "Mar 19, 2024", "Mar 16, 2024"}));
}

TEST_F(HistoryTest, DeletingADayInAllRecordsTakesItOutOfBothFiles) {
  logStrength("Mar 1, 2024", "Squat", Array{"100", "5", ""});
  logAerobic("Mar 5, 2024", " rowing", Array{"20", "", "", "", ""});
  logStrength("Mar 9, 2024", "Squat", Array{"110", "5", ""});
  chooseMenuRow(5);
  TableView& list = ui().LimitedLogTableView.tableView();
  ASSERT_EQ(ui().limitedLogNavigationTitle.rightBarButtonItem(), &ui().logDatesEditButton);
  ASSERT_TRUE(finger.tapBarButton(ui().logDatesEditButton).ok());
  EXPECT_TRUE(list.isEditing());
  EXPECT_EQ(ui().logDatesEditButton.title(), "Done");

  // The aerobic log alone had this day: the strength log is not written again.
  const auto inode = [&](const char* name) {
    struct stat info {};
    EXPECT_EQ(::stat((documents() / name).c_str(), &info), 0) << name;
    return info.st_ino;
  };
  const ino_t strength = inode("Kinetra_Log.plist");
  ASSERT_TRUE(finger.deleteRow(list, {0, 1}).ok());
  EXPECT_EQ(rowTexts(list), (std::vector<std::string>{"Mar 9, 2024", "Mar 1, 2024"}));
  EXPECT_EQ(readDocument("Kinetra_Aerobics_Log.plist"), PropertyList(Dictionary{}));
  EXPECT_EQ(readDocument("Kinetra_Log.plist").asDictionary().size(), 2u);
  EXPECT_EQ(inode("Kinetra_Log.plist"), strength);

  // And the other way round.
  const ino_t aerobic = inode("Kinetra_Aerobics_Log.plist");
  ASSERT_TRUE(finger.deleteRow(list, {0, 1}).ok());
  EXPECT_EQ(rowTexts(list), (std::vector<std::string>{"Mar 9, 2024"}));
  EXPECT_EQ(readDocument("Kinetra_Log.plist").asDictionary().size(), 1u);
  EXPECT_EQ(inode("Kinetra_Aerobics_Log.plist"), aerobic);

  // Opening the menu again leaves editing mode.
  ASSERT_TRUE(finger.tapBackButton(logTab()).ok());
  chooseMenuRow(2);
  EXPECT_FALSE(list.isEditing());
  EXPECT_FALSE(app().flags().datesEdit);
  EXPECT_EQ(ui().logDatesEditButton.title(), "Edit");
}

TEST_F(HistoryTest, ADayOpensWithOneSectionPerExerciseAerobicFirst) {
  const std::string day = "Mar 18, 2024";
  logStrength(day, "Squat", Array{"100", "5", "deep"});
  logStrength(day, "bench press", Array{"60", "8", "", "65", "6", ""});
  logStrength(day, "Zottman Curl", Array{});  // emptied by deletions
  logAerobic(day, " treadmill", Array{"30", "", "2", "", "hill"});
  chooseMenuRow(5);
  ASSERT_TRUE(finger.tapAccessory(ui().LimitedLogTableView.tableView(), {0, 0}).ok());
  EXPECT_EQ(ui().logNavigationTitle.title(), day);
  EXPECT_EQ(dayLog(), (std::vector<std::string>{"[ treadmill]", "Set 1, 30(Duration), 2(Elevation)",
                                                "[bench press]", "Set 1, 60 for 8 reps",
                                                "Set 2, 65 for 6 reps", "[Squat]",
                                                "Set 1, 100 for 5 reps", "[Zottman Curl]"}));
}

TEST_F(HistoryTest, ACustomExercisesHeaderShowsItsThumbnailFromTheDocumentsFolder) {
  const Result<std::vector<std::uint8_t>> png =
      encodePng(Picture::filled(40, 35, Rgba{200, 0, 0, 255}).value());
  ASSERT_TRUE(png.ok());
  writeDocumentBytes("mine_t.jpg", std::string(png->begin(), png->end()));
  PropertyList record = exerciseRecord("Mine");
  record.asDictionary()["image"] = "mine";
  app().userData().customExercises.push_back(std::make_shared<PropertyList>(record));
  app().rebuildExerciseList();
  logStrength("Mar 18, 2024", "Mine", Array{"10", "10", ""});
  app().selection().selectedDate = "Mar 18, 2024";

  ExerciseLogTableController& screen = ui().exerciseLogTableView;
  std::unique_ptr<View> header = screen.viewForHeaderInSection(screen.tableView(), 0);
  std::vector<ImageView*> pictures;
  for (View* view : header->subviews()) {
    if (auto* picture = dynamic_cast<ImageView*>(view)) pictures.push_back(picture);
  }
  ASSERT_EQ(pictures.size(), 2u);  // the background, then the thumbnail in front
  EXPECT_EQ(pictures[1]->image().size(), (Size{40, 35}));
  EXPECT_EQ(pictures[1]->center().x, 30);
  EXPECT_EQ(pictures[1]->center().y, 29);
}

TEST_F(HistoryTest, TheLogDateRowFollowsTheChosenDay) {
  openPane("Squat");
  TableView& settings = ui().loggingTabTableView;
  EXPECT_EQ(rowTexts(settings),
            (std::vector<std::string>{"Previous exercise records", "Log date: Today"}));

  ASSERT_TRUE(finger.selectRow(settings, {0, 1}).ok());
  EXPECT_EQ(ui().kinetraNavigationController.topViewController(), &ui().loggingDate);
  ASSERT_TRUE(finger.pickDate(ui().datePicker, day("Mar 19, 2024")).ok());
  ASSERT_TRUE(finger.tap(ui().useLoggingDateButton).ok());
  EXPECT_EQ(ui().kinetraNavigationController.topViewController(), &ui().exerciseScreen);
  EXPECT_EQ(rowTexts(settings)[1], "Log date: Mar 19, 2024");

  type(ui().weight, "80");
  type(ui().reps, "5");
  ASSERT_TRUE(finger.tap(ui().logAddButton).ok());
  EXPECT_EQ(entryOf(readDocument("Kinetra_Log.plist"), "Mar 19, 2024", "Squat"),
            (std::vector<std::string>{"80 lbs", "5", ""}));
}

TEST_F(HistoryTest, ChoosingADayOfPreviousRecordsShowsItsRecordsBesideTheList) {
  logStrength("Mar 1, 2024", "Squat", Array{"100", "5", "easy"});
  logStrength("Mar 9, 2024", "Squat", Array{"110", "5", "", "115", "3", ""});
  openPane("Squat");
  ASSERT_TRUE(finger.tapAccessory(ui().loggingTabTableView, {0, 0}).ok());
  EXPECT_EQ(ui().kinetraNavigationController.topViewController(), &ui().kinetraLogView2);
  EXPECT_EQ(rowTexts(ui().PreviousLogTable1),
            (std::vector<std::string>{"Mar 9, 2024", "Mar 1, 2024"}));
  EXPECT_TRUE(rowTexts(ui().PreviousLogTable2).empty());
  EXPECT_EQ(ui().logDateLabel.text(), "");

  ASSERT_TRUE(finger.selectRow(ui().PreviousLogTable1, {0, 1}).ok());
  EXPECT_EQ(ui().logDateLabel.text(), "Mar 1, 2024");
  EXPECT_EQ(rowTexts(ui().PreviousLogTable2), std::vector<std::string>{"Set 1, 100 for 5 reps"});
  ASSERT_TRUE(finger.selectRow(ui().PreviousLogTable1, {0, 0}).ok());
  EXPECT_EQ(rowTexts(ui().PreviousLogTable2).size(), 2u);
  EXPECT_EQ(ui().kinetraNavigationController.topViewController(), &ui().kinetraLogView2);
}

TEST_F(HistoryTest, TheExportRowOffersTheStoredAddress) {
  app().userData().settings.asDictionary()["email"] = "me@example.org";
  ASSERT_TRUE(finger.selectRow(ui().logTabTableView.tableView(), {1, 0}).ok());
  EXPECT_EQ(logTab().topViewController(), &ui().emailView);
  EXPECT_EQ(ui().emailAddress.text(), "me@example.org");
  EXPECT_FALSE(ui().emailAddress.isFirstResponder());
  EXPECT_EQ(ui().emailLabel.text(), "Requires WIFI or cellular data connection.");
}

}  // namespace
}  // namespace kinetra::test
