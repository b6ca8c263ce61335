// Day strings: the days of one exercise, the days of a look-back range, choosing the logging
// day, and keys written in another date style.
#include "app/AppTestSupport.h"

#include "ui/Finger.h"

namespace kinetra::test {
namespace {

class DayStringsTest : public AppTest {
 protected:
  // A log with one entry of `exercise` on each of `days`.
  static PropertyList logOn(const std::vector<std::string>& days,
                            const std::string& exercise = "Squat") {
    PropertyList log = PropertyList::Dictionary{};
    for (const std::string& key : days) {
      log.asDictionary()[key] =
          PropertyList::Dictionary{{exercise, PropertyList::Array{"100 kg", "5", ""}}};
    }
    return log;
  }
};

TEST_F(DayStringsTest, PreviousDatesAreOldestFirstAndCountEmptiedEntries) {
  PropertyList log = logOn({"Mar 3, 2024", "Jan 15, 2023", "Feb 29, 2024"});
  log.asDictionary()["Mar 5, 2024"] = PropertyList::Dictionary{{"Squat", PropertyList::Array{}}};
  log.asDictionary()["Mar 6, 2024"] = PropertyList::Dictionary{{"Bench", PropertyList::Array{}}};
  writeDocument("Kinetra_Log.plist", log);
  VelomarAppDelegate& state = launch();
  state.selection().selectedExercise = "Squat";
  state.createPreviousDates();
  EXPECT_EQ(
      state.selection().previousDates,
      (std::vector<std::string>{"Jan 15, 2023", "Feb 29, 2024", "Mar 3, 2024", "Mar 5, 2024"}));
}

TEST_F(DayStringsTest, AnAerobicExerciseTakesItsDaysFromTheAerobicLog) {
  writeDocument("Kinetra_Log.plist", logOn({"Mar 1, 2024"}, " rowing"));
  writeDocument("Kinetra_Aerobics_Log.plist", logOn({"Mar 2, 2024"}, " rowing"));
  VelomarAppDelegate& state = launch();
  state.selection().selectedExercise = " rowing";
  state.createPreviousDates();
  EXPECT_EQ(state.selection().previousDates, std::vector<std::string>{"Mar 2, 2024"});
}

// The clock starts at noon on Mar 20; the checks run on Mar 21, from its first minute to its
// last, then at 00:01 the day after.
TEST_F(DayStringsTest, SevenDaysKeepTheDayAndTheSixBeforeAllDayLong) {
  writeDocument("Kinetra_Log.plist", logOn({"Mar 13, 2024", "Mar 14, 2024", "Mar 15, 2024",
                                            "Jan 2, 2020", "Mar 21, 2024", "Mar 20, 2024"}));
  VelomarAppDelegate& state = launch();
  const std::vector<std::string> week = {"Mar 15, 2024", "Mar 20, 2024", "Mar 21, 2024"};

  clock().advanceTo(day("Mar 21, 2024").addingTimeInterval(60));
  state.createLogDates(7);
  EXPECT_EQ(state.selection().limitedDates, week) << "00:01";

  clock().advanceTo(day("Mar 21, 2024").addingTimeInterval(23 * 3600 + 59 * 60));
  state.createLogDates(7);
  EXPECT_EQ(state.selection().limitedDates, week) << "23:59";

  clock().advanceTo(day("Mar 22, 2024").addingTimeInterval(60));
  state.createLogDates(7);
  EXPECT_EQ(state.selection().limitedDates,
            (std::vector<std::string>{"Mar 20, 2024", "Mar 21, 2024"}))
      << "at 00:01 the next day, Mar 15 is the seventh day before";
}

TEST_F(DayStringsTest, AtMidnightExactlyTheSeventhDayBeforeIsOut) {
  writeDocument("Kinetra_Log.plist", logOn({"Mar 14, 2024", "Mar 15, 2024"}));
  VelomarAppDelegate& state = launch();
  clock().advanceTo(day("Mar 21, 2024"));
  ASSERT_EQ(clock().now(), day("Mar 21, 2024"));
  state.createLogDates(7);
  EXPECT_EQ(state.selection().limitedDates, std::vector<std::string>{"Mar 15, 2024"});
}

TEST_F(DayStringsTest, AFutureLoggingDayIsInEveryRange) {
  writeDocument("Kinetra_Log.plist", logOn({"Dec 24, 2031", "Jan 1, 2000"}));
  VelomarAppDelegate& state = launch();
  for (int days : {1, 7, 14, 30, 1000}) {
    state.createLogDates(days);
    EXPECT_EQ(state.selection().limitedDates, std::vector<std::string>{"Dec 24, 2031"}) << days;
  }
  state.createLogDates(10000);
  EXPECT_EQ(state.selection().limitedDates,
            (std::vector<std::string>{"Jan 1, 2000", "Dec 24, 2031"}));
  state.createLogDates(0);
  EXPECT_EQ(state.selection().limitedDates, std::vector<std::string>{"Dec 24, 2031"});
  state.createLogDates(-5);
  EXPECT_EQ(state.selection().limitedDates, std::vector<std::string>{"Dec 24, 2031"});
}

TEST_F(DayStringsTest, ADayInBothLogsIsListedOnceAndEmptyDaysCount) {
  PropertyList strength = logOn({"Mar 18, 2024", "Mar 20, 2024"});
  strength.asDictionary()["Mar 17, 2024"] = PropertyList::Dictionary{};
  writeDocument("Kinetra_Log.plist", strength);
  writeDocument("Kinetra_Aerobics_Log.plist", logOn({"Mar 20, 2024", "Mar 19, 2024"}, " rowing"));
  VelomarAppDelegate& state = launch();
  state.createLogDates(30);
  EXPECT_EQ(
      state.selection().limitedDates,
      (std::vector<std::string>{"Mar 17, 2024", "Mar 18, 2024", "Mar 19, 2024", "Mar 20, 2024"}));
}

TEST_F(DayStringsTest, EmptyLogsGiveEmptyLists) {
  VelomarAppDelegate& state = launch();
  state.selection().previousDates = {"stale"};
  state.selection().limitedDates = {"stale"};
  state.selection().selectedExercise = "Squat";
  state.createPreviousDates();
  state.createLogDates(10000);
  EXPECT_TRUE(state.selection().previousDates.empty());
  EXPECT_TRUE(state.selection().limitedDates.empty());
}

TEST_F(DayStringsTest, AKeyOfAnotherDateStyleIsSkippedReportedOnceAndKeptAfterASave) {
  PropertyList log = logOn({"Mar 19, 2024", "19.03.2024", "2024-03-18"});
  writeDocument("Kinetra_Log.plist", log);
  VelomarAppDelegate& state = launch();
  state.selection().selectedExercise = "Squat";
  state.createPreviousDates();
  EXPECT_EQ(state.selection().previousDates, std::vector<std::string>{"Mar 19, 2024"});
  state.createLogDates(10000);
  EXPECT_EQ(state.selection().limitedDates, std::vector<std::string>{"Mar 19, 2024"});
  ASSERT_EQ(lines().size(), 1u);
  EXPECT_NE(lines()[0].find("\"19.03.2024\""), std::string::npos) << lines()[0];
  EXPECT_NE(lines()[0].find("\"2024-03-18\""), std::string::npos) << lines()[0];

  state.userData().exerciseLog.asDictionary()["Mar 20, 2024"] = PropertyList::Dictionary{};
  ASSERT_TRUE(state.userData().saveExerciseLog().ok());
  const PropertyList saved = readDocument("Kinetra_Log.plist");
  ASSERT_NE(saved.find("19.03.2024"), nullptr);
  EXPECT_EQ(*saved.find("19.03.2024"), *log.find("19.03.2024"));
  ASSERT_NE(saved.find("2024-03-18"), nullptr);
  EXPECT_EQ(saved.asDictionary().size(), 4u);
}

TEST_F(DayStringsTest, UsingTheLoggingDateSetsTodayAndLeavesTheDatePage) {
  VelomarAppDelegate& state = launch();
  MainInterface& ui = state.interface();
  // The picker still on the launch moment gives the same day.
  state.useLoggingDate();
  EXPECT_EQ(state.selection().today, "Mar 20, 2024");

  ui.kinetraNavigationController.pushViewController(ui.loggingDate, Animated::No);
  application().layoutIfNeeded();
  Finger finger;
  ASSERT_TRUE(finger.pickDate(ui.datePicker, day("Apr 2, 2026").addingTimeInterval(3600)).ok());
  ASSERT_TRUE(finger.tap(ui.useLoggingDateButton).ok());
  EXPECT_EQ(state.selection().today, "Apr 2, 2026");
  EXPECT_EQ(ui.kinetraNavigationController.topViewController(), &ui.exerciseScreen);
}

TEST_F(DayStringsTest, LogDatesEditTogglesTheHistoryListsEditingMode) {
  VelomarAppDelegate& state = launch();
  MainInterface& ui = state.interface();
  state.logDatesEdit();
  EXPECT_TRUE(state.flags().datesEdit);
  EXPECT_TRUE(ui.LimitedLogTableView.tableView().isEditing());
  EXPECT_EQ(ui.logDatesEditButton.title(), "Done");
  state.logDatesEdit();
  EXPECT_FALSE(state.flags().datesEdit);
  EXPECT_FALSE(ui.LimitedLogTableView.tableView().isEditing());
  EXPECT_EQ(ui.logDatesEditButton.title(), "Edit");
}

}  // namespace
}  // namespace kinetra::test
