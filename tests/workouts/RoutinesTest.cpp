// The routines tab through the finger: the list, a routine's groups as their keys count them,
// its text page, and opening or quick-logging one of its exercises.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "ui/Finger.h"
#include "ui/Label.h"

namespace kinetra::test {
namespace {

using Array = PropertyList::Array;
using Dictionary = PropertyList::Dictionary;
using Names = std::vector<std::string>;

class RoutinesTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    writeResource("Routines", Array{Dictionary{{"name", "Starter"},
                                               {"briefdescription", "Three days a week."},
                                               {"fulldescription", "Squats first, then the rest."},
                                               {"section1", "Warm-up"},
                                               {"section1exercise1", " rowing"},
                                               {"section1set1", "5 minutes"},
                                               {"section3", "Never shown"},
                                               {"section2exercise1", "Squat"},
                                               {"section2exercise3", "bench press"},
                                               {"section2set1", "3 x 5"},
                                               {"section20", "Past the last group"}},
                                    Dictionary{{"name", "Empty"}}});
    // The log button takes the size of its picture.
    std::filesystem::copy_file(
        std::filesystem::path(KINETRA_TEST_SOURCE_DIR) / "resources" / "log_t.jpg",
        resources() / "log_t.jpg");
    launch();
    ASSERT_TRUE(finger.selectTab(ui().tabBarController, 3).ok());
  }

  MainInterface& ui() { return app().interface(); }
  TableView& list() { return ui().routinesList.tableView(); }
  TableView& routine() { return ui().routineTableView.tableView(); }

  // The cell of `indexPath` on screen, its own label's text after its main text.
  Names rowOf(TableView& table, IndexPath indexPath, int labelTag) {
    table.layoutIfNeeded();
    TableViewCell* cell = table.cellForRowAtIndexPath(indexPath);
    if (cell == nullptr) return {"(off screen)"};
    Names shown{cell->text()};
    for (View* view : cell->contentView().subviews()) {
      if (view->tag() == labelTag) shown.push_back(dynamic_cast<Label&>(*view).text());
    }
    return shown;
  }

  Finger finger;
};

TEST_F(RoutinesTest, TheListHasASectionPerRoutineWithItsBriefDescription) {
  ASSERT_EQ(list().numberOfSections(), 2);
  EXPECT_EQ(ui().routinesList.titleForHeaderInSection(list(), 0), "Starter");
  EXPECT_EQ(list().rectForRowAtIndexPath({0, 0}).height, 100);
  EXPECT_EQ(rowOf(list(), {0, 0}, RoutinesTableController::kLabelTag),
            (Names{"", "Three days a week."}));
}

TEST_F(RoutinesTest, GroupsAndExercisesAreCountedNotNumbered) {
  ASSERT_TRUE(finger.selectRow(list(), {0, 0}).ok());
  EXPECT_EQ(ui().routineNavigationController.topViewController(), &ui().routineTableView);
  EXPECT_EQ(ui().RoutineNavigationTitle.title(), "Starter");
  // Two group keys (1 and 3): the description, group 1, and a group 2 without a title key.
  ASSERT_EQ(routine().numberOfSections(), 3);
  RoutinesTableController2& screen = ui().routineTableView;
  EXPECT_EQ(screen.titleForHeaderInSection(routine(), 0), "Description");
  EXPECT_EQ(screen.titleForHeaderInSection(routine(), 1), "Warm-up");
  EXPECT_EQ(screen.titleForHeaderInSection(routine(), 2), std::nullopt);
  EXPECT_EQ(rowOf(routine(), {0, 0}, RoutinesTableController2::kLabelTag),
            (Names{"", "Squats first, then the rest."}));
  // Exercise keys 1 and 3 of group 2: two rows, the second empty.
  ASSERT_EQ(routine().numberOfRowsInSection(2), 2);
  EXPECT_EQ(rowOf(routine(), {2, 0}, RoutinesTableController2::kLabelTag),
            (Names{"Squat", "3 x 5"}));
  EXPECT_EQ(rowOf(routine(), {2, 1}, RoutinesTableController2::kLabelTag), (Names{"", ""}));
  EXPECT_EQ(routine().rectForRowAtIndexPath({2, 0}).height, 60);

  ASSERT_TRUE(finger.tapBackButton(ui().routineNavigationController).ok());
  ASSERT_TRUE(finger.tapAccessory(list(), {1, 0}).ok());
  EXPECT_EQ(routine().numberOfSections(), 1);  // no group keys: the description alone
}

TEST_F(RoutinesTest, TheDescriptionOpensTheTextPage) {
  ASSERT_TRUE(finger.selectRow(list(), {0, 0}).ok());
  ASSERT_TRUE(finger.tapAccessory(routine(), {0, 0}).ok());
  EXPECT_EQ(ui().routineNavigationController.topViewController(), &ui().RoutineTextView);
  EXPECT_EQ(ui().RoutineText.text(), "Squats first, then the rest.");
  EXPECT_EQ(ui().RoutineText.font().pointSize, 15);
}

TEST_F(RoutinesTest, AnExerciseOpensOnTheExerciseScreenWithTheRoutinesTheWayBack) {
  ASSERT_TRUE(finger.selectRow(list(), {0, 0}).ok());
  ASSERT_TRUE(finger.selectRow(routine(), {2, 0}).ok());
  EXPECT_EQ(app().selection().selectedExercise, "Squat");
  EXPECT_EQ(app().selection().lastTabIndex, 3);
  EXPECT_FALSE(app().flags().useLogScroll);
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
  ASSERT_TRUE(finger.tapBarButton(ui().velomarBackButton).ok());
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 3);
}

TEST_F(RoutinesTest, TheLogButtonGoesStraightToAFilledEntryPane) {
  app().userData().exerciseLog =
      Dictionary{{"Mar 18, 2024", Dictionary{{"Squat", Array{"102.5 kg", "8", "deep"}}}}};
  ASSERT_TRUE(finger.selectRow(list(), {0, 0}).ok());
  routine().layoutIfNeeded();
  TableViewCell* squat = routine().cellForRowAtIndexPath({2, 0});
  ASSERT_NE(squat, nullptr);
  ASSERT_NE(squat->accessoryView(), nullptr);
  ASSERT_TRUE(finger.tap(*squat->accessoryView()).ok());

  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
  EXPECT_EQ(ui().kinetraLogView.superview(), &ui().kinetraTabView);
  EXPECT_EQ(ui().velomarNavigationTitle.title(), "Log Entry");
  EXPECT_EQ(ui().logExerciseLabel.text(), "Squat");
  EXPECT_EQ(ui().weight.text(), "102");
  EXPECT_EQ(ui().weightDecimal.text(), "5");
  EXPECT_EQ(ui().weightType.selectedSegmentIndex(), 1);
  EXPECT_EQ(ui().reps.text(), "8");
  EXPECT_EQ(ui().note.text(), "");
  EXPECT_FALSE(app().flags().flipEnabled);

  ASSERT_TRUE(finger.tap(ui().logAddButton).ok());
  EXPECT_EQ(readDocument("Kinetra_Log.plist").find("Mar 20, 2024")->find("Squat")->asArray(),
            (Array{"102.5 kg", "8", ""}));
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 3);
}

TEST_F(RoutinesTest, AnAerobicExerciseGetsTheAerobicPane) {
  ASSERT_TRUE(finger.selectRow(list(), {0, 0}).ok());
  routine().layoutIfNeeded();
  TableViewCell* rowing = routine().cellForRowAtIndexPath({1, 0});
  ASSERT_NE(rowing, nullptr);
  ASSERT_TRUE(finger.tap(*rowing->accessoryView()).ok());
  EXPECT_EQ(ui().kinetraAerobicsView.superview(), &ui().kinetraTabView);
  EXPECT_EQ(ui().aerobicsLabel.text(), " rowing");
  EXPECT_EQ(app().selection().selectedExercise, " rowing");
}

}  // namespace
}  // namespace kinetra::test
