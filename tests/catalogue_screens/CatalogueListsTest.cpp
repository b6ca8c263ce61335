// The catalogue's lists on their own: the state they are handed and a navigation that records
// what they ask for, with no application around them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/CatalogueNavigation.h"
#include "catalogue/ExercisePictures.h"
#include "catalogue/FullListTableController.h"
#include "catalogue/TargetTableController.h"
#include "catalogue/TargetTableController2.h"
#include "model/Catalogue.h"
#include "model/EditingFlags.h"
#include "model/ExerciseList.h"
#include "model/ModelTestSupport.h"
#include "model/Selection.h"
#include "support/TemporaryDirectory.h"

namespace kinetra::test {
namespace {

class RecordingNavigation : public CatalogueNavigation {
 public:
  void openExercise(const PropertyList& record, From from) override {
    calls.push_back("open " + std::string(recordString(record, "name").value_or("?")) +
                    (from == From::kCompleteList ? " from the complete list" : ""));
    opened = &record;
  }
  void showRegion(const std::string& region) override { calls.push_back("region " + region); }
  void showBodyMap() override { calls.emplace_back("body map"); }
  void showMuscle(const std::string& muscle) override { calls.push_back("muscle " + muscle); }
  void showCompleteList() override { calls.emplace_back("complete list"); }
  void showCustomExercises() override { calls.emplace_back("custom exercises"); }
  void showNewCustomExercise() override { calls.emplace_back("new custom exercise"); }
  void showPhotoPicker() override { calls.emplace_back("photo picker"); }
  void removeCustom() override { calls.emplace_back("remove custom"); }
  void reloadWorkoutList() override { calls.emplace_back("workout list"); }

  std::vector<std::string> calls;
  const PropertyList* opened = nullptr;
};

ExerciseRecord shared(PropertyList record) { return std::make_shared<PropertyList>(record); }

class CatalogueListsTest : public ::testing::Test {
 protected:
  CatalogueListsTest() {
    catalogue_.targets = {"Chest", "Legs"};
    list_.exercises = {shared(exerciseRecord("bench press", "Chest")),
                       shared(exerciseRecord("Squat", "Legs")),
                       shared(exerciseRecord("Bench Press", "Chest"))};
  }

  CatalogueState state() {
    return {catalogue_, list_, custom_, selection_, flags_, pictures_, navigation_};
  }

  testing::TemporaryDirectory folder_;
  ResourceBundle bundle_{folder_.path()};
  DocumentsDirectory documents_{folder_ / "Documents"};
  ExercisePictures pictures_{bundle_, documents_};
  Catalogue catalogue_;
  ExerciseList list_;
  ExerciseRecords custom_;
  Selection selection_;
  EditingFlags flags_;
  RecordingNavigation navigation_;
};

TEST_F(CatalogueListsTest, ARegionRowFillsTheRegionsRecordsBeforeAskingForTheList) {
  TargetTableController menu("Catalogue", state());
  TableView& table = menu.tableView();
  EXPECT_EQ(table.numberOfRowsInSection(0), 4);  // two regions, the muscle map, the full list
  EXPECT_EQ(table.numberOfRowsInSection(1), 1);

  menu.didSelectRowAtIndexPath(table, {0, 0});
  EXPECT_EQ(selection_.selectedTarget, "Chest");
  EXPECT_EQ(namesOf(selection_.targetExercises),
            (std::vector<std::string>{"bench press", "Bench Press"}));
  menu.didSelectRowAtIndexPath(table, {0, 2});
  menu.didSelectRowAtIndexPath(table, {0, 3});
  menu.didSelectRowAtIndexPath(table, {0, 9});  // no such row
  EXPECT_EQ(navigation_.calls,
            (std::vector<std::string>{"region Chest", "body map", "complete list"}));
}

TEST_F(CatalogueListsTest, TheCustomRowOpensTheListOnlyWhenThereAreCustomExercises) {
  TargetTableController menu("Catalogue", state());
  flags_.selectedCustomImage = true;
  flags_.editingCustomExercise = true;
  menu.didSelectRowAtIndexPath(menu.tableView(), {1, 0});
  EXPECT_EQ(navigation_.calls.back(), "new custom exercise");
  EXPECT_FALSE(flags_.selectedCustomImage);
  EXPECT_FALSE(flags_.editingCustomExercise);

  custom_.push_back(shared(exerciseRecord("Mine")));
  flags_.editingCustomExercise = true;
  menu.didSelectRowAtIndexPath(menu.tableView(), {1, 0});
  EXPECT_EQ(navigation_.calls.back(), "custom exercises");
  EXPECT_TRUE(flags_.editingCustomExercise);  // left as it was
}

TEST_F(CatalogueListsTest, RowsOfTheSameNameOpenTheLastRecordOfIt) {
  selection_.targetExercises = {shared(exerciseRecord("Fly")), shared(exerciseRecord("Dip")),
                                shared(exerciseRecord("Fly"))};
  TargetTableController2 region("Region", state());
  TableView& table = region.tableView();
  ASSERT_EQ(table.numberOfRowsInSection(0), 3);
  EXPECT_EQ(table.cellForRowAtIndexPath({0, 0})->text(), "Dip");
  region.didSelectRowAtIndexPath(table, {0, 1});
  EXPECT_EQ(navigation_.opened, selection_.targetExercises[2].get());
  EXPECT_EQ(navigation_.calls, std::vector<std::string>{"open Fly"});
}

TEST_F(CatalogueListsTest, TheCompleteListOpensFromItsIndexAndSaysSo) {
  list_.exerciseNameIndexArray = {" ", "B"};
  list_.indexedExercises = {{" ", {}}, {"B", {list_.exercises[0], list_.exercises[2]}}};
  FullListTableController full("All Exercises", state());
  TableView& table = full.tableView();
  EXPECT_EQ(table.numberOfSections(), 2);
  EXPECT_EQ(table.numberOfRowsInSection(1), 2);
  full.didSelectRowAtIndexPath(table, {1, 1});
  full.didSelectRowAtIndexPath(table, {2, 0});  // no such section
  EXPECT_EQ(navigation_.calls, std::vector<std::string>{"open Bench Press from the complete list"});
}

}  // namespace
}  // namespace kinetra::test
