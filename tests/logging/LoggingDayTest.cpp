// The logging day on a server that runs for weeks: it follows the clock across midnight until
// the user chooses a day of their own.
#include <gtest/gtest.h>

#include "logging/LoggingTestSupport.h"

namespace kinetra::test {
namespace {

using Strings = std::vector<std::string>;

constexpr double kMinute = 60;
constexpr double kHour = 3600;

class LoggingDayTest : public LoggingTest {
 protected:
  void addSet(const std::string& reps) {
    ui().reps.setText(reps);
    ASSERT_TRUE(finger.tap(ui().logAddButton).ok());
  }
  Strings storedSquats(const std::string& day) {
    return entryOf(readDocument("Kinetra_Log.plist"), day, "Squat");
  }
  void chooseLoggingDay(Date moment) {
    ui().kinetraNavigationController.pushViewController(ui().loggingDate, Animated::No);
    application().layoutIfNeeded();
    ASSERT_TRUE(finger.pickDate(ui().datePicker, moment).ok());
    ASSERT_TRUE(finger.tap(ui().useLoggingDateButton).ok());
  }
};

TEST_F(LoggingDayTest, SetsEitherSideOfMidnightLandOnTwoDays) {
  openPane("Squat");
  clock().advanceTo(day("Mar 20, 2024").addingTimeInterval(23 * kHour + 59 * kMinute));
  addSet("5");
  EXPECT_EQ(rowTexts(ui().logTableView).size(), 1U);

  clock().advance(2 * kMinute);
  EXPECT_EQ(app().selection().today, "Mar 21, 2024");
  EXPECT_TRUE(app().todayFollowsClock());
  // The open pane's table was reloaded at midnight: the new day has no sets yet.
  EXPECT_TRUE(rowTexts(ui().logTableView).empty());
  addSet("6");

  EXPECT_EQ(storedSquats("Mar 20, 2024"), (Strings{"0 lbs", "5", ""}));
  EXPECT_EQ(storedSquats("Mar 21, 2024"), (Strings{"0 lbs", "6", ""}));
  EXPECT_EQ(rowTexts(ui().logTableView), (Strings{"Set 1, 0 lbs for 6 reps"}));
  // Weeks later the day still follows, one timer at a time.
  clock().advance(30 * 24 * kHour);
  EXPECT_EQ(app().selection().today, "Apr 20, 2024");
}

TEST_F(LoggingDayTest, AChosenDayHoldsUntilTheUserChoosesTheClocksDayAgain) {
  openPane("Squat");
  chooseLoggingDay(day("Mar 18, 2024").addingTimeInterval(10 * kHour));
  EXPECT_EQ(app().selection().today, "Mar 18, 2024");
  EXPECT_FALSE(app().todayFollowsClock());

  clock().advanceTo(day("Mar 22, 2024").addingTimeInterval(kMinute));
  EXPECT_EQ(app().selection().today, "Mar 18, 2024");
  addSet("7");
  EXPECT_EQ(storedSquats("Mar 18, 2024"), (Strings{"0 lbs", "7", ""}));
  EXPECT_TRUE(storedSquats("Mar 22, 2024").empty());

  // Any moment of the clock's own day means "today" again.
  chooseLoggingDay(day("Mar 22, 2024").addingTimeInterval(20 * kHour));
  EXPECT_EQ(app().selection().today, "Mar 22, 2024");
  EXPECT_TRUE(app().todayFollowsClock());
  clock().advanceTo(day("Mar 23, 2024"));
  EXPECT_EQ(app().selection().today, "Mar 23, 2024");
}

// Santiago moved its clocks from 00:00 to 01:00 on Sep 8, 2024: that day has no midnight.
TEST_F(LoggingDayTest, ADayWithoutAMidnightStillComesOnce) {
  setTimeZone("America/Santiago");
  relaunch();
  const Date gapEnd(1725768000);  // Sep 8, 2024 01:00 local, 04:00 UTC
  clock().advanceTo(gapEnd.addingTimeInterval(-1));
  EXPECT_EQ(app().selection().today, "Sep 7, 2024");
  clock().advance(1);
  EXPECT_EQ(app().selection().today, "Sep 8, 2024");
  openPane("Squat");
  addSet("8");
  EXPECT_EQ(storedSquats("Sep 8, 2024"), (Strings{"0 lbs", "8", ""}));

  const Date nextMidnight(1725850800);  // Sep 9, 2024 00:00 local, 03:00 UTC
  clock().advanceTo(nextMidnight.addingTimeInterval(-kMinute));
  EXPECT_EQ(app().selection().today, "Sep 8, 2024");
  clock().advanceTo(nextMidnight);
  EXPECT_EQ(app().selection().today, "Sep 9, 2024");
}

}  // namespace
}  // namespace kinetra::test
