#include <gtest/gtest.h>

#include "logging/AerobicsTableController.h"
#include "logging/LogRowCell.h"
#include "logging/LogTableController.h"
#include "logging/LoggingTestSupport.h"
#include "ui/Label.h"

namespace kinetra::test {
namespace {

using Strings = std::vector<std::string>;

const Label* noteLabel(TableViewCell* cell) {
  if (cell == nullptr) return nullptr;
  for (View* view : cell->contentView().subviews()) {
    if (view->tag() == LogRowCell::kNoteLabelTag) return dynamic_cast<Label*>(view);
  }
  return nullptr;
}

// The note under a row; a marker when the row has no note label at all.
std::string noteText(TableViewCell* cell) {
  const Label* label = noteLabel(cell);
  return label != nullptr ? label->text() : "(no note label)";
}

class LogTablesTest : public LoggingTest {
 protected:
  void logThreeSquatSets() {
    app().userData().exerciseLog = PropertyList::Dictionary{
        {kToday, PropertyList::Dictionary{
                     {"Squat", PropertyList::Array{"100 lbs", "10", "first", "110 lbs", "8",
                                                   "second", "120 lbs", "6", "third"}}}}};
  }
};

TEST(AerobicRowText, SkipsEmptyValuesWithTheirSeparators) {
  const PropertyList::Array entry{"20", "5", "1", "200", "", "30", "", "2", "", "uphill"};
  EXPECT_EQ(AerobicsTableController::rowText(" treadmill", entry, 1),
            "Set 2, 30(Duration), 2(Elevation)");
  EXPECT_EQ(AerobicsTableController::rowText(" treadmill", entry, 0),
            "Set 1, 20(Duration), 5(Speed), 1(Elevation), 200(Calories)");
  EXPECT_EQ(AerobicsTableController::rowText(" tennis", entry, 0),
            "Set 1, 20(Duration), 5(Sets), 1(Avg HR), 200(Matches)");
  // Not one of the nine: only the number.
  EXPECT_EQ(AerobicsTableController::rowText("Squat", entry, 0), "Set 1");
  EXPECT_EQ(AerobicsTableController::rowText("treadmill", entry, 0), "Set 1");
}

TEST_F(LogTablesTest, RowsShowSetsWithTheirNotesBelow) {
  logThreeSquatSets();
  openPane("Squat");
  TableView& table = ui().logTableView;
  EXPECT_EQ(rowTexts(table), (Strings{"Set 1, 100 lbs for 10 reps", "Set 2, 110 lbs for 8 reps",
                                      "Set 3, 120 lbs for 6 reps"}));
  EXPECT_EQ(table.rectForRowAtIndexPath({0, 1}).height, 50);
  TableViewCell* cell = table.cellForRowAtIndexPath({0, 1});
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->reuseIdentifier(), "mine");
  EXPECT_EQ(cell->selectionStyle(), TableViewCellSelectionStyle::kNone);
  const Label* note = noteLabel(cell);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), "second");
  EXPECT_TRUE(rectsEqual(note->frame(), Rect{10, 34, 320, 14}));
  EXPECT_EQ(cell->contentView().subviews().back(), note);
}

TEST_F(LogTablesTest, AReusedCellShowsOnlyItsNewNote) {
  logThreeSquatSets();
  openPane("Squat");
  TableView& table = ui().logTableView;
  rowTexts(table);
  // Fewer sets: the cells go back to the queue and come out again for the new rows.
  app().userData().exerciseLog.asDictionary()[kToday].asDictionary()["Squat"] =
      PropertyList::Array{"5 kg", "1", ""};
  table.reloadData();
  EXPECT_EQ(rowTexts(table), (Strings{"Set 1, 5 kg for 1 reps"}));
  TableViewCell* cell = table.cellForRowAtIndexPath({0, 0});
  ASSERT_NE(cell, nullptr);
  int notes = 0;
  for (View* view : cell->contentView().subviews())
    notes += view->tag() == LogRowCell::kNoteLabelTag;
  EXPECT_EQ(notes, 1);
  EXPECT_EQ(noteText(cell), "");
}

TEST_F(LogTablesTest, AnExerciseWithoutEntryTodayHasNoRows) {
  app().userData().exerciseLog = PropertyList::Dictionary{
      {"Mar 18, 2024", PropertyList::Dictionary{{"Squat", PropertyList::Array{"1 kg", "1", ""}}}}};
  openPane("Squat");
  EXPECT_EQ(ui().logTableView.numberOfRowsInSection(0), 0);
}

TEST_F(LogTablesTest, DeletingTheMiddleSetRewritesTheLogAndRenumbers) {
  logThreeSquatSets();
  openPane("Squat");
  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  ASSERT_TRUE(ui().logTableView.isEditing());
  ASSERT_TRUE(finger.deleteRow(ui().logTableView, {0, 1}).ok());

  const Strings remaining{"100 lbs", "10", "first", "120 lbs", "6", "third"};
  EXPECT_EQ(entryOf(app().userData().exerciseLog, kToday, "Squat"), remaining);
  EXPECT_EQ(entryOf(readDocument("Kinetra_Log.plist"), kToday, "Squat"), remaining);
  EXPECT_EQ(rowTexts(ui().logTableView),
            (Strings{"Set 1, 100 lbs for 10 reps", "Set 2, 120 lbs for 6 reps"}));
  EXPECT_EQ(noteText(ui().logTableView.cellForRowAtIndexPath({0, 1})), "third");
  const auto& animation = ui().logTableView.lastAnimation();
  ASSERT_TRUE(animation.has_value());
  EXPECT_EQ(animation->kind, AnimationRecord::Kind::kDeleteRows);
  EXPECT_EQ(animation->rowAnimation, rowAnimationName(TableViewRowAnimation::kTop));
  EXPECT_EQ(animation->rows, (std::vector<IndexPath>{{0, 1}}));
}

TEST_F(LogTablesTest, DeletingTheOnlySetLeavesAnEmptyEntryAndTheDay) {
  app().userData().exerciseLog = PropertyList::Dictionary{
      {kToday, PropertyList::Dictionary{{"Squat", PropertyList::Array{"1 kg", "1", ""}}}}};
  openPane("Squat");
  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  ASSERT_TRUE(finger.deleteRow(ui().logTableView, {0, 0}).ok());
  const PropertyList stored = readDocument("Kinetra_Log.plist");
  ASSERT_TRUE(stored.asDictionary().contains(kToday));
  const PropertyList& squat = stored.asDictionary().at(kToday).asDictionary().at("Squat");
  EXPECT_TRUE(squat.isArray() && squat.asArray().empty());
  EXPECT_EQ(ui().logTableView.numberOfRowsInSection(0), 0);
}

TEST_F(LogTablesTest, DeletingAnAerobicSetTakesFiveStrings) {
  app().userData().aerobicsLog = PropertyList::Dictionary{
      {kToday,
       PropertyList::Dictionary{{" rowing", PropertyList::Array{"10", "", "", "", "a", "20", "", "",
                                                                "", "b", "30", "", "", "", "c"}}}}};
  openPane(" rowing");
  EXPECT_EQ(rowTexts(ui().aerobicsTableView),
            (Strings{"Set 1, 10(Duration)", "Set 2, 20(Duration)", "Set 3, 30(Duration)"}));
  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  ASSERT_TRUE(ui().aerobicsTableView.isEditing());
  ASSERT_TRUE(finger.deleteRow(ui().aerobicsTableView, {0, 0}).ok());
  const Strings remaining{"20", "", "", "", "b", "30", "", "", "", "c"};
  EXPECT_EQ(entryOf(readDocument("Kinetra_Aerobics_Log.plist"), kToday, " rowing"), remaining);
  EXPECT_EQ(rowTexts(ui().aerobicsTableView),
            (Strings{"Set 1, 20(Duration)", "Set 2, 30(Duration)"}));
  // The strength log was never touched.
  EXPECT_EQ(documentNames(), (Strings{"Kinetra_Aerobics_Log.plist"}));
}

// Every sequence of adds and deletes keeps both logs' entries in whole sets.
TEST_F(LogTablesTest, AddsAndDeletesKeepWholeSets) {
  openPane("Squat");
  for (const char* reps : {"1", "2", "3", "4"}) {
    ui().reps.setText(reps);
    app().addLog();
  }
  // The rest strip the sets started shortens today's table; put away, all four rows show.
  ASSERT_TRUE(finger.tap(ui().restBar.cancel).ok());
  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  for (int row : {0, 2, 1}) ASSERT_TRUE(finger.deleteRow(ui().logTableView, {0, row}).ok());
  EXPECT_EQ(entryOf(readDocument("Kinetra_Log.plist"), kToday, "Squat"),
            (Strings{"0 lbs", "2", ""}));
  // A deletion for a row that is gone (the log changed under the table) changes nothing.
  ui().logTableController.commitEditingStyle(ui().logTableView, TableViewCellEditingStyle::kDelete,
                                             {0, 5});
  EXPECT_EQ(entryOf(app().userData().exerciseLog, kToday, "Squat").size(), 3U);
}

TEST_F(LogTablesTest, EditRemovesTheLeaveButtonUntilDone) {
  openPane("Squat");
  NavigationItem& bar = ui().velomarNavigationTitle;
  ASSERT_EQ(bar.leftBarButtonItem(), &ui().logDoneButton);
  ASSERT_TRUE(finger.tap(ui().weightDecimal).ok());
  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  EXPECT_EQ(ui().logEditButton.title(), "Done");
  EXPECT_EQ(bar.leftBarButtonItem(), nullptr);
  EXPECT_FALSE(ui().weightDecimal.isFirstResponder());
  EXPECT_TRUE(app().flags().logEditing);
  EXPECT_TRUE(ui().logTableView.isEditing());

  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  EXPECT_EQ(ui().logEditButton.title(), "Edit");
  EXPECT_EQ(bar.leftBarButtonItem(), &ui().logDoneButton);
  EXPECT_FALSE(app().flags().logEditing);
  EXPECT_FALSE(ui().logTableView.isEditing());
}

TEST_F(LogTablesTest, ReopeningThePaneLeavesEditingMode) {
  openPane(" treadmill");
  ASSERT_TRUE(finger.tapBarButton(ui().logEditButton).ok());
  ASSERT_TRUE(ui().aerobicsTableView.isEditing());
  app().velomarTabSelect();
  openPane(" treadmill");
  EXPECT_FALSE(ui().aerobicsTableView.isEditing());
  EXPECT_FALSE(app().flags().logEditing);
  EXPECT_EQ(ui().logEditButton.title(), "Edit");
}

}  // namespace
}  // namespace kinetra::test
