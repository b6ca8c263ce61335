// The workouts tab through the finger and on the file: making workouts, picking their exercises
// region by region, adding to a workout, and the two editing modes.
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
using Names = std::vector<std::string>;

PropertyList record(const std::string& name, const std::string& target1,
                    const std::string& target2 = {}) {
  PropertyList value = exerciseRecord(name, target1);
  if (!target2.empty()) value.asDictionary()["target2"] = target2;
  return value;
}

class WorkoutsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    // Lunge belongs to two regions.
    writeResource("Exercises", Array{record("Squat", "Legs"), record("bench press", "Chest"),
                                     record("Lunge", "Legs", "Chest"), record("Dip", "Chest")});
    for (const char* picture : {"checkMark.gif", "unchecked.jpg"}) {
      std::filesystem::copy_file(
          std::filesystem::path(KINETRA_TEST_SOURCE_DIR) / "resources" / picture,
          resources() / picture);
    }
    launch();
    ASSERT_TRUE(finger.selectTab(ui().tabBarController, 2).ok());
  }

  std::vector<std::uint8_t> bundleBytes(const std::string& name) {
    std::ifstream in(resources() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  MainInterface& ui() { return app().interface(); }
  NavigationController& tab() { return ui().workoutsNavigationController; }
  TableView& regions() { return ui().customWorkoutTableView.tableView(); }
  TableView& picker() { return ui().customWorkoutTableView2.tableView(); }

  // The name page, a name typed and confirmed.
  void nameWorkout(const std::string& name) {
    ASSERT_TRUE(finger.tapBarButton(ui().addWorkoutButton).ok());
    ASSERT_TRUE(finger.editText(name).ok());  // over what the field kept
    ASSERT_TRUE(finger.pressReturn().ok());
  }
  int regionRow(const std::string& region) {
    const auto& targets = app().catalogue().targets;
    return static_cast<int>(std::find(targets.begin(), targets.end(), region) - targets.begin());
  }
  // Region `region`, then the ticks of `names`, then back to the regions.
  void tick(const std::string& region, const Names& names) {
    ASSERT_TRUE(finger.selectRow(regions(), {0, regionRow(region)}).ok());
    ASSERT_EQ(tab().topViewController(), &ui().customWorkoutTableView2);
    for (const std::string& name : names) {
      const std::optional<int> row = rowOf(picker(), name);
      ASSERT_TRUE(row.has_value()) << name;
      ASSERT_TRUE(finger.selectRow(picker(), {0, *row}).ok());
    }
    ASSERT_TRUE(finger.tapBackButton(tab()).ok());
  }
  static std::optional<int> rowOf(TableView& table, const std::string& text) {
    table.layoutIfNeeded();
    for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
      TableViewCell* cell = table.cellForRowAtIndexPath({0, row});
      if (cell != nullptr && cell->text() == text) return row;
    }
    return std::nullopt;
  }
  static Names texts(TableView& table) {
    Names shown;
    table.layoutIfNeeded();
    for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
      TableViewCell* cell = table.cellForRowAtIndexPath({0, row});
      shown.push_back(cell != nullptr ? cell->text() : "(off screen)");
    }
    return shown;
  }
  PropertyList storedWorkouts() { return readDocument("Workouts.plist"); }

  Finger finger;
};

TEST_F(WorkoutsTest, ANewWorkoutTakesItsTicksFromEveryRegionInTickingOrder) {
  nameWorkout("Leg day");
  EXPECT_EQ(tab().topViewController(), &ui().customWorkoutTableView);
  EXPECT_EQ(texts(regions()), (Names{"Chest", "Legs", "Arms", "Cardio"}));  // no custom row
  tick("Legs", {"Squat", "Lunge"});
  // Lunge is ticked in Chest too, and unticking there removes it.
  ASSERT_TRUE(finger.selectRow(regions(), {0, regionRow("Chest")}).ok());
  EXPECT_EQ(texts(picker()), (Names{"bench press", "Dip", "Lunge"}));
  ASSERT_TRUE(finger.selectRow(picker(), {0, 2}).ok());
  ASSERT_TRUE(finger.selectRow(picker(), {0, 0}).ok());
  ASSERT_TRUE(finger.selectRow(picker(), {0, 2}).ok());
  EXPECT_EQ(app().selection().tempWorkout, (Names{"Squat", "bench press", "Lunge"}));
  ASSERT_TRUE(finger.tapBackButton(tab()).ok());

  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  EXPECT_EQ(tab().topViewController(), &ui().workoutsTable);
  EXPECT_EQ(texts(ui().workoutsTable.tableView()), Names{"Leg day"});
  EXPECT_EQ(storedWorkouts(),
            PropertyList(Array{Array{"Leg day", "Squat", "bench press", "Lunge"}}));
  EXPECT_EQ(app().selection().tempWorkout.front(), "Leg day");
}

TEST_F(WorkoutsTest, ATickButtonTicksTheRowItStandsOn) {
  nameWorkout("Chest");
  ASSERT_TRUE(finger.selectRow(regions(), {0, regionRow("Chest")}).ok());
  picker().layoutIfNeeded();
  TableViewCell* dip = picker().cellForRowAtIndexPath({0, 1});
  ASSERT_NE(dip, nullptr);
  ASSERT_NE(dip->accessoryView(), nullptr);
  ASSERT_TRUE(finger.tap(*dip->accessoryView()).ok());
  EXPECT_EQ(app().selection().tempWorkout, Names{"Dip"});
  // The reloaded rows show the bundle's tick pictures: ticked, and not.
  picker().layoutIfNeeded();
  auto tickOf = [&](int row) {
    auto* button = dynamic_cast<Button*>(picker().cellForRowAtIndexPath({0, row})->accessoryView());
    return button != nullptr ? button->backgroundImageForState(ControlState::kNormal).bytes()
                             : std::vector<std::uint8_t>();
  };
  EXPECT_EQ(tickOf(1), bundleBytes("checkMark.gif"));
  EXPECT_EQ(tickOf(0), bundleBytes("unchecked.jpg"));
  EXPECT_EQ(tickOf(2), bundleBytes("unchecked.jpg"));
}

TEST_F(WorkoutsTest, ATakenOrEmptyNameIsRefusedAndThePageStays) {
  nameWorkout("Push");
  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());

  ASSERT_TRUE(finger.tapBarButton(ui().addWorkoutButton).ok());
  EXPECT_EQ(ui().newWorkout.text(), "Push");  // the field keeps the last name
  EXPECT_TRUE(ui().newWorkout.isFirstResponder());
  ASSERT_TRUE(finger.pressReturn().ok());
  EXPECT_EQ(tab().topViewController(), &ui().newWorkoutView);
  ASSERT_TRUE(finger.editText("").ok());
  ASSERT_TRUE(finger.pressReturn().ok());
  EXPECT_EQ(tab().topViewController(), &ui().newWorkoutView);

  ASSERT_TRUE(finger.editText("push").ok());  // letter case counts
  ASSERT_TRUE(finger.pressReturn().ok());
  EXPECT_EQ(tab().topViewController(), &ui().customWorkoutTableView);
  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  EXPECT_EQ(storedWorkouts(), PropertyList(Array{Array{"Push"}, Array{"push"}}));
}

TEST_F(WorkoutsTest, AddingToAWorkoutAppendsOnlyTheNewNames) {
  nameWorkout("Legs");
  tick("Legs", {"Squat"});
  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  ASSERT_TRUE(finger.selectRow(ui().workoutsTable.tableView(), {0, 0}).ok());
  EXPECT_EQ(tab().topViewController(), &ui().singleWorkoutTableView);
  EXPECT_EQ(ui().singleWorkoutNavigationTitle.title(), "Legs");

  ASSERT_TRUE(finger.chooseSegment(*ui().singleWorkoutSegmentedControl, 0).ok());
  tick("Chest", {"Dip", "Lunge"});
  tick("Legs", {"Squat"});
  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  EXPECT_EQ(tab().topViewController(), &ui().singleWorkoutTableView);
  EXPECT_EQ(texts(ui().singleWorkoutTableView.tableView()), (Names{"Squat", "Dip", "Lunge"}));
  EXPECT_EQ(storedWorkouts(), PropertyList(Array{Array{"Legs", "Squat", "Dip", "Lunge"}}));
  EXPECT_FALSE(app().flags().addingExerciseToWorkout);
}

TEST_F(WorkoutsTest, AnAbandonedAddingPickNeverTurnsTheNextNewWorkoutIntoAnAddition) {
  nameWorkout("Legs");
  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  ASSERT_TRUE(finger.selectRow(ui().workoutsTable.tableView(), {0, 0}).ok());
  ASSERT_TRUE(finger.chooseSegment(*ui().singleWorkoutSegmentedControl, 0).ok());
  ASSERT_TRUE(finger.tapBackButton(tab()).ok());  // left without saving
  ASSERT_TRUE(finger.tapBackButton(tab()).ok());
  nameWorkout("Arms");
  tick("Chest", {"Dip"});
  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  EXPECT_EQ(storedWorkouts(), PropertyList(Array{Array{"Legs"}, Array{"Arms", "Dip"}}));
}

TEST_F(WorkoutsTest, ListEditsReachTheFileOnlyWhenEditingEnds) {
  for (const char* name : {"A", "B", "C"}) {
    nameWorkout(name);
    ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  }
  TableView& list = ui().workoutsTable.tableView();
  ASSERT_TRUE(finger.selectRow(list, {0, 2}).ok());  // C is the current workout
  ASSERT_TRUE(finger.tapBackButton(tab()).ok());
  ASSERT_TRUE(finger.tapBarButton(ui().workoutsEditButton).ok());
  EXPECT_EQ(ui().workoutsEditButton.title(), "Save");
  ASSERT_TRUE(finger.moveRow(list, {0, 2}, {0, 0}).ok());
  EXPECT_EQ(app().selection().currentWorkout, 0u);  // it moved with its row
  ASSERT_TRUE(finger.deleteRow(list, {0, 1}).ok());
  EXPECT_EQ(texts(list), (Names{"C", "B"}));
  EXPECT_EQ(storedWorkouts(), PropertyList(Array{Array{"A"}, Array{"B"}, Array{"C"}}));

  ASSERT_TRUE(finger.deleteRow(list, {0, 0}).ok());
  EXPECT_FALSE(app().selection().currentWorkout.has_value());  // no screen can act on it now
  ASSERT_TRUE(finger.tapBarButton(ui().workoutsEditButton).ok());
  EXPECT_EQ(ui().workoutsEditButton.title(), "Edit");
  EXPECT_EQ(storedWorkouts(), PropertyList(Array{Array{"B"}}));
}

TEST_F(WorkoutsTest, TheWorkoutScreenMovesAndDeletesExercisesButNeverTheName) {
  nameWorkout("Legs");
  tick("Legs", {"Squat", "Lunge"});
  tick("Chest", {"Dip"});
  ASSERT_TRUE(finger.tapBarButton(ui().saveWorkoutButton).ok());
  ASSERT_TRUE(finger.tapAccessory(ui().workoutsTable.tableView(), {0, 0}).ok());
  TableView& workout = ui().singleWorkoutTableView.tableView();
  SegmentedControl& control = *ui().singleWorkoutSegmentedControl;

  ASSERT_TRUE(finger.chooseSegment(control, 1).ok());
  EXPECT_TRUE(workout.isEditing());
  EXPECT_EQ(control.titleForSegmentAtIndex(1), "Save");
  ASSERT_TRUE(finger.moveRow(workout, {0, 2}, {0, 0}).ok());
  ASSERT_TRUE(finger.deleteRow(workout, {0, 2}).ok());
  EXPECT_EQ(storedWorkouts(), PropertyList(Array{Array{"Legs", "Squat", "Lunge", "Dip"}}));
  ASSERT_TRUE(finger.chooseSegment(control, 1).ok());
  EXPECT_FALSE(workout.isEditing());
  EXPECT_EQ(control.titleForSegmentAtIndex(1), "Edit");
  EXPECT_EQ(storedWorkouts(), PropertyList(Array{Array{"Legs", "Dip", "Squat"}}));

  // An exercise of the workout opens on the exercise screen, the workouts tab the way back.
  ASSERT_TRUE(finger.selectRow(workout, {0, 1}).ok());
  EXPECT_EQ(app().selection().selectedExercise, "Squat");
  EXPECT_EQ(app().selection().lastTabIndex, 2);
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
}

TEST_F(WorkoutsTest, CustomExercisesGetARowOfTheirOwn) {
  app().userData().customExercises.push_back(
      std::make_shared<PropertyList>(record("My Curl", "Arms")));
  app().rebuildExerciseList();
  nameWorkout("Mine");
  EXPECT_EQ(texts(regions()).back(), "custom exercises");
  ASSERT_TRUE(finger.selectRow(regions(), {0, 4}).ok());
  EXPECT_EQ(texts(picker()), Names{"My Curl"});
}

}  // namespace
}  // namespace kinetra::test
