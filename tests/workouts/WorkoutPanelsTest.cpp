// The workout screen's log buttons and the paging log panels, through the finger.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "ui/Button.h"
#include "ui/Finger.h"

namespace kinetra::test {
namespace {

using Array = PropertyList::Array;
using Dictionary = PropertyList::Dictionary;

class WorkoutPanelsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    for (const char* picture : {"log_t.jpg", "log_t2.jpg"}) {
      std::filesystem::copy_file(
          std::filesystem::path(KINETRA_TEST_SOURCE_DIR) / "resources" / picture,
          resources() / picture);
    }
    writeDocument("Workouts.plist",
                  Array{Array{"Mixed", " rowing", "Squat", " treadmill", "bench press"},
                        Array{"Single", "Squat"}});
    launch();
    ASSERT_TRUE(finger.selectTab(ui().tabBarController, 2).ok());
  }

  MainInterface& ui() { return app().interface(); }
  TableView& workout() { return ui().singleWorkoutTableView.tableView(); }

  void openWorkout(int index) {
    ASSERT_TRUE(finger.selectRow(ui().workoutsTable.tableView(), {0, index}).ok());
    workout().layoutIfNeeded();
  }
  void tapLogButton(int row) {
    workout().layoutIfNeeded();
    TableViewCell* cell = workout().cellForRowAtIndexPath({0, row});
    ASSERT_NE(cell, nullptr);
    ASSERT_NE(cell->accessoryView(), nullptr);
    ASSERT_TRUE(finger.tap(*cell->accessoryView()).ok());
  }
  std::vector<std::uint8_t> logButtonBytes(int row) {
    workout().layoutIfNeeded();
    auto* button =
        dynamic_cast<Button*>(workout().cellForRowAtIndexPath({0, row})->accessoryView());
    return button != nullptr ? button->backgroundImageForState(ControlState::kNormal).bytes()
                             : std::vector<std::uint8_t>();
  }
  std::vector<std::uint8_t> bundleBytes(const std::string& name) {
    std::ifstream in(resources() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  Finger finger;
};

TEST_F(WorkoutPanelsTest, AOneExerciseWorkoutHasOnePageAndOnlyTheMiddlePanel) {
  openWorkout(1);
  tapLogButton(0);
  ScrollView& pages = ui().logsScrollView;
  EXPECT_EQ(pages.contentSize().width, 321);
  EXPECT_EQ(pages.contentSize().height, 369);
  EXPECT_EQ(ui().kinetraLogView.superview(), &pages);
  EXPECT_EQ(ui().kinetraLogView.frame().x, 0);
  EXPECT_EQ(ui().kinetraLogViewLeft.superview(), nullptr);
  EXPECT_EQ(ui().kinetraLogViewRight.superview(), nullptr);
  EXPECT_EQ(pages.superview(), &ui().kinetraTabView);
  EXPECT_EQ(ui().velomarNavigationTitle.title(), "Log Entry");
  EXPECT_EQ(app().selection().lastTabIndex, 2);
}

TEST_F(WorkoutPanelsTest, TheLogButtonShowsWhetherTheLoggingDayHasAnEntryEvenAnEmptiedOne) {
  openWorkout(0);
  EXPECT_EQ(logButtonBytes(1), bundleBytes("log_t.jpg"));
  app().userData().exerciseLog =
      Dictionary{{"Mar 20, 2024", Dictionary{{"Squat", Array{}}}}};  // every set deleted
  workout().reloadData();
  EXPECT_EQ(logButtonBytes(1), bundleBytes("log_t2.jpg"));
  EXPECT_EQ(logButtonBytes(0), bundleBytes("log_t.jpg"));
}

TEST_F(WorkoutPanelsTest, PanelsStandSideBySideAroundTheTappedRowAndPrefillFromItsLatestDay) {
  app().userData().exerciseLog =
      Dictionary{{"Mar 18, 2024", Dictionary{{"Squat", Array{"102.5 kg", "8", "deep"}},
                                             {"bench press", Array{"60 lbs", "5", ""}}}}};
  app().userData().aerobicsLog =
      Dictionary{{"Mar 18, 2024", Dictionary{{" treadmill", Array{"30", "5", "2", "", ""}}}}};
  openWorkout(0);
  tapLogButton(1);  // Squat, between two aerobic exercises

  EXPECT_EQ(app().selection().selectedExercise, "Squat");
  ScrollView& pages = ui().logsScrollView;
  EXPECT_EQ(pages.contentSize().width, 4 * 321);
  EXPECT_EQ(pages.contentOffset().x, 321);
  EXPECT_EQ(ui().kinetraLogView.frame().x, 321);
  EXPECT_EQ(ui().kinetraAerobicsViewLeft.frame().x, 0);
  EXPECT_EQ(ui().kinetraAerobicsViewRight.frame().x, 2 * 321);
  EXPECT_EQ(ui().logExerciseLabelLeft.text(), " rowing");
  EXPECT_EQ(ui().logExerciseLabelRight.text(), " treadmill");
  EXPECT_EQ(ui().logExerciseLabel.text(), "Squat");
  // The strength fields hold Squat's own first set; the aerobic label and fields hold the right
  // neighbour's, on the day Squat was last logged.
  EXPECT_EQ(ui().weight.text(), "102");
  EXPECT_EQ(ui().weightDecimal.text(), "5");
  EXPECT_EQ(ui().weightType.selectedSegmentIndex(), 1);
  EXPECT_EQ(ui().reps.text(), "8");
  EXPECT_EQ(ui().aerobicsLabel.text(), " treadmill");
  EXPECT_EQ(ui().aerobicsField1.text(), "30");
  EXPECT_EQ(ui().aerobicsField3.text(), "2");

  // The last row: no right panel is placed; "60 lbs" leaves the decimal and the unit alone.
  ui().kinetraLogViewRight.removeFromSuperview();
  ASSERT_TRUE(finger.selectTab(ui().tabBarController, 2).ok());
  tapLogButton(3);
  EXPECT_EQ(ui().kinetraLogViewRight.superview(), nullptr);
  EXPECT_EQ(ui().kinetraAerobicsViewLeft.frame().x, 2 * 321);
  EXPECT_EQ(ui().weight.text(), "60");
  EXPECT_EQ(ui().weightDecimal.text(), "0");
  EXPECT_EQ(ui().weightType.selectedSegmentIndex(), 0);
}

TEST_F(WorkoutPanelsTest, AReleasedSwipeRebuildsOnceTheGlideReachesAWholePage) {
  openWorkout(0);
  tapLogButton(2);
  ScrollView& pages = ui().logsScrollView;
  ASSERT_EQ(app().selection().selectedExercise, " treadmill");
  app().scrollViewWillBeginDecelerating(pages);
  pages.setContentOffset({962, 0}, Animated::No);  // p just under 3
  EXPECT_EQ(app().selection().selectedExercise, " treadmill");
  pages.setContentOffset({979, 0}, Animated::No);  // p = 3.0498
  EXPECT_EQ(app().selection().selectedExercise, "bench press");
  EXPECT_FALSE(app().flags().refreshLogScroll);
  EXPECT_EQ(pages.contentOffset().x, 963);         // the rebuild placed page 3
  pages.setContentOffset({642, 0}, Animated::No);  // not armed: nothing
  EXPECT_EQ(app().selection().selectedExercise, "bench press");
}

TEST_F(WorkoutPanelsTest, AnExerciseOpenedFromTheWorkoutLogsOnThePanels) {
  openWorkout(0);
  ASSERT_TRUE(finger.selectRow(workout(), {0, 2}).ok());
  EXPECT_EQ(app().selection().selectedExercise, " treadmill");
  EXPECT_TRUE(app().flags().useLogScroll);
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  EXPECT_EQ(ui().logsScrollView.superview(), &ui().kinetraTabView);
  EXPECT_EQ(ui().logsScrollView.contentOffset().x, 2 * 321);
  EXPECT_EQ(ui().kinetraAerobicsView.superview(), &ui().logsScrollView);
}

TEST_F(WorkoutPanelsTest, DoneGoesBackToTheWorkoutWithItsLogButtonsRefreshed) {
  openWorkout(0);
  tapLogButton(1);
  ASSERT_TRUE(finger.typeInto(ui().weight, "50").ok());
  ASSERT_TRUE(finger.typeInto(ui().reps, "5").ok());
  ASSERT_TRUE(finger.tap(ui().logAddButton).ok());
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 2);
  EXPECT_EQ(logButtonBytes(1), bundleBytes("log_t2.jpg"));
}

}  // namespace
}  // namespace kinetra::test
