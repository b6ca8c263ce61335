// Personal records in the running application: the mark in today's table, the back of the
// card and the history's deletions, through the finger and on the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "logging/LoggingTestSupport.h"
#include "ui/ImageView.h"

namespace kinetra::test {
namespace {

using Strings = std::vector<std::string>;
using Dictionary = PropertyList::Dictionary;
using Array = PropertyList::Array;

class RecordsTest : public LoggingTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    std::filesystem::copy_file(
        std::filesystem::path(KINETRA_TEST_SOURCE_DIR) / "resources" / "record_star.png",
        resources() / "record_star.png");
    launch();
  }

  void logSquat(const std::string& day, Array sets) {
    auto [entries, added] =
        app().userData().exerciseLog.asDictionary().try_emplace(day, Dictionary{});
    static_cast<void>(added);
    entries->second.asDictionary()["Squat"] = std::move(sets);
    ASSERT_TRUE(app().userData().saveExerciseLog().ok());
  }

  void retype(TextField& field, const std::string& text) {
    ASSERT_TRUE(finger.tap(field).ok());
    ASSERT_TRUE(finger.editText(text).ok()) << text;
  }
  void addSet() { ASSERT_TRUE(finger.tap(ui().logAddButton).ok()); }

  // Per row of today's table: "*" for a row with the record mark, "-" without.
  std::string marks() {
    TableView& table = ui().logTableView;
    table.layoutIfNeeded();
    std::string shown;
    for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
      table.scrollToRowAtIndexPath({0, row}, TableViewScrollPosition::kNone, Animated::No);
      table.layoutIfNeeded();
      TableViewCell* cell = table.cellForRowAtIndexPath({0, row});
      if (cell == nullptr) return shown + "?";
      const auto* mark = dynamic_cast<const ImageView*>(cell->accessoryView());
      shown += mark != nullptr && !mark->image().empty() ? "*" : "-";
    }
    return shown;
  }

  // Turns the card with the bar's first segment.
  void turnCard() { ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 0).ok()); }
};

TEST_F(RecordsTest, ASetThatBeatsTheBestEstimateSoFarIsMarkedWithItsTextUnchanged) {
  logSquat("Mar 18, 2024", Array{"100 kg", "5", ""});  // estimate 116.7 kg
  openPane("Squat");                                   // filled with 100 kg for 5
  addSet();                                            // equal to the best: no record
  retype(ui().reps, "6");
  addSet();  // 120 kg
  ASSERT_TRUE(finger.chooseSegment(ui().weightType, 0).ok());
  retype(ui().weight, "220");
  addSet();  // 220 lbs × 6 = 119.8 kg: not above 120
  retype(ui().weight, "230");
  addSet();  // 125.2 kg
  EXPECT_EQ(marks(), "-*-*");
  TableViewCell* last = ui().logTableView.cellForRowAtIndexPath({0, 3});
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->text(), "Set 4, 230 lbs for 6 reps");
  // The file holds the texts as typed, in both units.
  EXPECT_EQ(
      entryOf(readDocument("Kinetra_Log.plist"), kToday, "Squat"),
      (Strings{"100 kg", "5", "", "100 kg", "6", "", "220 lbs", "6", "", "230 lbs", "6", ""}));

  // Deleting the first record makes the 220 lbs set the best so far; the reused cells follow.
  ASSERT_TRUE(finger.tap(ui().restBar.cancel).ok());
  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  ui().logTableView.scrollToRowAtIndexPath({0, 1}, TableViewScrollPosition::kNone, Animated::No);
  ASSERT_TRUE(finger.deleteRow(ui().logTableView, {0, 1}).ok());
  EXPECT_EQ(marks(), "-**");
}

TEST_F(RecordsTest, TheFirstSetEverAndZeroRepetitionsAreNotMarked) {
  openPane("Squat");
  type(ui().weight, "60");
  type(ui().reps, "5");
  addSet();
  retype(ui().weight, "200");
  retype(ui().reps, "0");
  addSet();
  retype(ui().weight, "65");
  retype(ui().reps, "5");
  addSet();
  EXPECT_EQ(marks(), "--*");
}

TEST_F(RecordsTest, TheBackOfTheCardShowsTheRecordsUnderTheMuscles) {
  logSquat("Mar 11, 2024", Array{"100 kg", "5", "", "120 kg", "3", ""});
  logSquat("Mar 12, 2024", Array{"120 kg", "5", "", "bad", "5", ""});
  openExercise("Squat");
  turnCard();
  View& card = ui().kinetraTabView;
  EXPECT_EQ(ui().RecordsText.superview(), &card);
  EXPECT_EQ(card.subviews().back(), &ui().MusclesText);
  EXPECT_EQ(ui().RecordsText.text(),
            "   Heaviest: 120 kg (Mar 11, 2024)\n"
            "   Most reps at 120 kg: 5 (Mar 12, 2024)\n"
            "   Est. 1RM: 140 kg (120 kg × 5, Mar 12, 2024)");
  // The records sit between the muscles text and the description.
  EXPECT_GE(ui().RecordsText.frame().y, ui().MusclesText.frame().y);
  EXPECT_LE(ui().RecordsText.frame().y + ui().RecordsText.frame().height,
            ui().velomarTabText->frame().y);
  turnCard();

  // A set in pounds, logged through the pane, turns the records into pounds.
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  ASSERT_TRUE(finger.chooseSegment(ui().weightType, 0).ok());
  retype(ui().weight, "300");
  retype(ui().reps, "2");
  addSet();
  EXPECT_EQ(marks(), "*");  // 136.1 kg × (1 + 2/30) = 145.2 kg beats 140 kg
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());  // back to the catalogue
  openExercise("Squat");
  turnCard();
  EXPECT_EQ(ui().RecordsText.text(),
            "   Heaviest: 300 lbs (Mar 20, 2024)\n"
            "   Most reps at 300 lbs: 2 (Mar 20, 2024)\n"
            "   Est. 1RM: 320 lbs (300 lbs × 2, Mar 20, 2024)");
}

TEST_F(RecordsTest, AnExerciseWithoutStrengthSetsSaysSoAndAerobicOnesSayNothing) {
  openExercise("bench press");
  turnCard();
  EXPECT_EQ(ui().RecordsText.text(), "   No records yet");
  turnCard();
  openExercise(" rowing");
  turnCard();
  EXPECT_EQ(ui().RecordsText.text(), "");
}

TEST_F(RecordsTest, DeletingADayInTheHistoryGathersItsExercisesAgain) {
  logSquat("Mar 1, 2024", Array{"100 kg", "5", ""});
  logSquat("Mar 9, 2024", Array{"150 kg", "5", ""});
  EXPECT_EQ(app().records().of(app().userData().exerciseLog, "Squat").heaviest()->weight.amount(),
            150);
  ASSERT_TRUE(finger.selectTab(ui().tabBarController, 4).ok());
  ASSERT_TRUE(finger.selectRow(ui().logTabTableView.tableView(), {0, 5}).ok());  // All Records
  ASSERT_TRUE(finger.tapBarButton(ui().logDatesEditButton).ok());
  ASSERT_TRUE(finger.deleteRow(ui().LimitedLogTableView.tableView(), {0, 0}).ok());  // Mar 9
  EXPECT_FALSE(app().records().holds("Squat"));
  EXPECT_EQ(app().records().of(app().userData().exerciseLog, "Squat").heaviest()->weight.amount(),
            100);
}

}  // namespace
}  // namespace kinetra::test
