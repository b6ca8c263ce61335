#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "catalogue/ExercisePictures.h"
#include "ui/Finger.h"

namespace kinetra::test {
namespace {

namespace fs = std::filesystem;

PropertyList record(const std::string& name, const std::string& image,
                    PropertyList::Dictionary more) {
  PropertyList::Dictionary fields{{"name", name},
                                  {"image", image},
                                  {"description", name + " text"},
                                  {"muscle1", "Deltoids"},
                                  {"difficulty", "Beginner"}};
  for (auto& [key, value] : more) fields[key] = value;
  return fields;
}

class CatalogueTest : public AppTest {
 protected:
  // A catalogue of `regions` regions (the first three named Chest, Legs, Arms) and a handful of
  // exercises with pictures copied from the installed bundle.
  void writeCatalogue(int regions) {
    const std::vector<std::string> names = {"Chest", "Legs", "Arms", "Back", "Abs", "Calves"};
    PropertyList::Array targets;
    for (int i = 0; i < regions; ++i) targets.emplace_back(names[static_cast<std::size_t>(i)]);
    writeResource("Targets", targets);
    writeResource("Exercises",
                  PropertyList::Array{
                      record(" treadmill", "treadmill", {{"target1", "Cardio"}}),
                      record("incline press", "barbell_bench_press", {{"target1", "Chest"}}),
                      record("Squat", "back_squat", {{"target1", "Legs"}, {"target2", "Chest"}}),
                      record("Bench Press", "barbell_bench_press",
                             {{"target1", "Chest"}, {"target2", "Chest"}, {"muscle2", "Triceps"}}),
                      record("Arnold Press", "arnold_press", {{"target2", "Chest"}}),
                      record("Bench Press", "barbell_curl", {{"target1", "Chest"}}),
                      record(" rowing", "rowing", {{"target1", "Cardio"}})});
    for (const char* picture : {"Chest.jpg", "barbell_bench_press.jpg", "barbell_bench_press_t.jpg",
                                "barbell_curl_t.jpg", "back_squat.jpg", "back_squat_t.jpg"}) {
      fs::copy_file(fs::path(KINETRA_TEST_SOURCE_DIR) / "resources" / picture,
                    resources() / picture, fs::copy_options::overwrite_existing);
    }
  }

  void launchOnCatalogueTab() {
    launch();
    ASSERT_TRUE(Finger().selectTab(ui().tabBarController, 1).ok());
  }

  MainInterface& ui() { return app().interface(); }
  TableView& menu() { return ui().targetMenu.tableView(); }
  ViewController* topOfCatalogue() { return ui().targetNavigationController.topViewController(); }

  Image bundlePicture(const std::string& name) {
    return Image::contentsOfFile(resources() / (name + ".jpg"));
  }

  std::vector<std::string> rowTexts(TableView& table, int section) {
    std::vector<std::string> texts;
    for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
      table.scrollToRowAtIndexPath({section, row}, TableViewScrollPosition::kNone, Animated::No);
      TableViewCell* cell = table.cellForRowAtIndexPath({section, row});
      texts.push_back(cell != nullptr ? cell->text() : "<off screen>");
    }
    return texts;
  }
};

double height(TableView& table, IndexPath indexPath) {
  return table.rectForRowAtIndexPath(indexPath).height;
}

TEST_F(CatalogueTest, RowHeightsFollowTheRowIndexWhateverTheSection) {
  struct Case {
    int regions;
    std::vector<double> section0;
    double section1;
  };
  const std::vector<Case> cases = {{0, {36, 36}, 36},
                                   {3, {33, 33, 33, 36, 36}, 33},
                                   {4, {33, 33, 33, 33, 36, 36}, 33},
                                   {5, {33, 33, 33, 33, 40, 36, 36}, 33}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.regions);
    writeCatalogue(c.regions);
    launchOnCatalogueTab();
    menu().reloadData();
    ASSERT_EQ(menu().numberOfRowsInSection(0), c.regions + 2);
    ASSERT_EQ(menu().numberOfRowsInSection(1), 1);
    for (std::size_t row = 0; row < c.section0.size(); ++row) {
      EXPECT_EQ(height(menu(), {0, static_cast<int>(row)}), c.section0[row]) << row;
    }
    EXPECT_EQ(height(menu(), {1, 0}), c.section1);
    shutDown();
  }
}

TEST_F(CatalogueTest, TheMenuListsRegionsThenTheOtherWaysIn) {
  writeCatalogue(3);
  launchOnCatalogueTab();
  EXPECT_EQ(rowTexts(menu(), 0),
            (std::vector<std::string>{"Chest", "Legs", "Arms", "exercises by muscle",
                                      "complete list of exercises"}));
  EXPECT_EQ(rowTexts(menu(), 1), (std::vector<std::string>{"Add/Edit Custom Exercises"}));
  menu().scrollToRowAtIndexPath({0, 0}, TableViewScrollPosition::kTop, Animated::No);
  TableViewCell& chest = *menu().cellForRowAtIndexPath({0, 0});
  EXPECT_TRUE(fontsEqual(chest.textLabel().font(), Font::boldSystemFontOfSize(16)));
  EXPECT_EQ(chest.imageView().image(), bundlePicture("Chest"));
  EXPECT_EQ(chest.accessoryType(), TableViewCellAccessoryType::kDetailDisclosureButton);
  EXPECT_EQ(chest.reuseIdentifier(), "mine");
  TableViewCell& byMuscle = *menu().cellForRowAtIndexPath({0, 3});
  EXPECT_TRUE(fontsEqual(byMuscle.textLabel().font(), Font::italicSystemFontOfSize(16)));
  EXPECT_TRUE(byMuscle.imageView().image().empty());
}

TEST_F(CatalogueTest, ChoosingARegionListsItsExercisesOnceSortedByName) {
  writeCatalogue(3);
  launchOnCatalogueTab();
  ASSERT_TRUE(Finger().selectRow(menu(), {0, 0}).ok());

  EXPECT_EQ(app().selection().selectedTarget, "Chest");
  EXPECT_EQ(topOfCatalogue(), &ui().targetTableView);
  EXPECT_EQ(ui().TargetNavigationTitle.title(), "Chest");
  // target1 or target2; the record with both listed once.
  EXPECT_EQ(app().selection().targetExercises.size(), 5u);
  TableView& list = ui().targetTableView.tableView();
  EXPECT_EQ(rowTexts(list, 0), (std::vector<std::string>{"Arnold Press", "Bench Press",
                                                         "Bench Press", "incline press", "Squat"}));
  // Both "Bench Press" rows show the later record's thumbnail.
  list.scrollToRowAtIndexPath({0, 0}, TableViewScrollPosition::kTop, Animated::No);
  EXPECT_EQ(list.cellForRowAtIndexPath({0, 1})->imageView().image(),
            bundlePicture("barbell_curl_t"));
  EXPECT_EQ(list.cellForRowAtIndexPath({0, 2})->imageView().image(),
            bundlePicture("barbell_curl_t"));
}

TEST_F(CatalogueTest, TheAccessoryButtonSelectsTheRowAndOpensIt) {
  writeCatalogue(3);
  launchOnCatalogueTab();
  ASSERT_TRUE(Finger().tapAccessory(menu(), {0, 1}).ok());
  EXPECT_EQ(menu().indexPathForSelectedRow(), (IndexPath{0, 1}));
  EXPECT_EQ(app().selection().selectedTarget, "Legs");
  EXPECT_EQ(topOfCatalogue(), &ui().targetTableView);
}

TEST_F(CatalogueTest, OpeningAnExerciseFillsTheExerciseScreenAndSwitchesToIt) {
  writeCatalogue(3);
  launchOnCatalogueTab();
  ASSERT_TRUE(Finger().selectRow(menu(), {0, 0}).ok());
  ASSERT_TRUE(Finger().selectRow(ui().targetTableView.tableView(), {0, 4}).ok());  // Squat

  EXPECT_EQ(app().selection().selectedExercise, "Squat");
  EXPECT_EQ(ui().velomarTabImage.image(), bundlePicture("back_squat"));
  EXPECT_EQ(ui().velomarTabText->text(), "Squat text");
  EXPECT_EQ(ui().MusclesText.text(),
            "   Exercise: Squat\n   Primary Muscle: Deltoids\n   Additional Muscles: none\n"
            "   Skill Level: Beginner");
  EXPECT_EQ(app().selection().lastTabIndex, 1);
  EXPECT_TRUE(app().flags().doneLogo);
  EXPECT_FALSE(app().flags().useLogScroll);
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
  EXPECT_EQ(ui().velomarNavigationTitle.leftBarButtonItem(), &ui().velomarBackButton);
  EXPECT_EQ(ui().velomarNavigationTitle.rightBarButtonItem(), ui().segmentBarItem.get());
  EXPECT_EQ(ui().kinetraHelpView.superview(), nullptr);
  EXPECT_EQ(ui().kinetraTabView.subviews().back(), &ui().velomarTabImage);
}

TEST_F(CatalogueTest, TheCompleteListHasOneSectionPerFirstCharacter) {
  writeCatalogue(3);
  launchOnCatalogueTab();
  ASSERT_TRUE(Finger().selectRow(menu(), {0, 4}).ok());
  ASSERT_EQ(topOfCatalogue(), &ui().FullListTableView);
  TableView& list = ui().FullListTableView.tableView();
  EXPECT_EQ(list.contentOffset().y, 0);

  const std::vector<std::string> keys = {" ", "A", "B", "i", "S"};
  EXPECT_EQ(app().exerciseList().exerciseNameIndexArray, keys);
  ASSERT_EQ(list.numberOfSections(), 5);
  EXPECT_EQ(list.sectionIndexTitles(), keys);
  EXPECT_EQ(rowTexts(list, 0), (std::vector<std::string>{" treadmill", " rowing"}));
  EXPECT_EQ(rowTexts(list, 2), (std::vector<std::string>{"Bench Press", "Bench Press"}));
  EXPECT_EQ(ui().FullListTableView.titleForHeaderInSection(list, 0), "cardio");
  EXPECT_EQ(ui().FullListTableView.titleForHeaderInSection(list, 3), "i");

  ASSERT_TRUE(Finger().chooseSectionIndexTitle(list, 4).ok());
  ASSERT_TRUE(Finger().selectRow(list, {4, 0}).ok());
  EXPECT_EQ(app().selection().selectedExercise, "Squat");
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
  EXPECT_EQ(ui().kinetraTabView.subviews().back(), &ui().velomarTabImage);
}

TEST_F(CatalogueTest, ACustomExerciseShowsItsPicturesFromTheDocuments) {
  writeCatalogue(1);
  writeDocument("Custom_Exercises.plist",
                PropertyList::Array{record("My Curl", "My Curl", {{"target1", "Chest"}})});
  const std::vector<std::uint8_t> full =
      Image::contentsOfFile(fs::path(KINETRA_TEST_SOURCE_DIR) / "resources" / "barbell_curl.jpg")
          .bytes();
  const std::vector<std::uint8_t> thumb =
      Image::contentsOfFile(fs::path(KINETRA_TEST_SOURCE_DIR) / "resources" / "barbell_curl_t.jpg")
          .bytes();
  writeDocumentBytes("My Curl.jpg", std::string(full.begin(), full.end()));
  writeDocumentBytes("My Curl_t.jpg", std::string(thumb.begin(), thumb.end()));
  launchOnCatalogueTab();

  ASSERT_TRUE(Finger().selectRow(menu(), {0, 0}).ok());
  TableView& list = ui().targetTableView.tableView();
  const std::vector<std::string> names = rowTexts(list, 0);
  const auto row =
      static_cast<int>(std::find(names.begin(), names.end(), "My Curl") - names.begin());
  ASSERT_LT(row, static_cast<int>(names.size()));
  EXPECT_EQ(list.cellForRowAtIndexPath({0, row})->imageView().image().bytes(), thumb);
  ASSERT_TRUE(Finger().selectRow(list, {0, row}).ok());
  EXPECT_EQ(ui().velomarTabImage.image().bytes(), full);
}

TEST_F(CatalogueTest, PicturesMissingEverywhereOrBadlyNamedAreEmpty) {
  writeCatalogue(1);
  launch();
  const ExercisePictures pictures(app().bundle(), app().userFiles().documents());
  EXPECT_TRUE(pictures.fullPicture(record("X", "nowhere", {})).empty());
  EXPECT_TRUE(pictures.thumbnail(record("X", "../resources/back_squat", {})).empty());
  EXPECT_TRUE(pictures.thumbnail(PropertyList("not a record")).empty());
}

TEST_F(CatalogueTest, CustomExercisesRowOpensTheEditorOrTheList) {
  writeCatalogue(2);
  launchOnCatalogueTab();
  app().flags().editingCustomExercise = true;
  app().flags().selectedCustomImage = true;
  ASSERT_TRUE(Finger().selectRow(menu(), {1, 0}).ok());
  EXPECT_EQ(topOfCatalogue(), &ui().addExercisesTableView);
  EXPECT_FALSE(app().flags().editingCustomExercise);
  EXPECT_FALSE(app().flags().selectedCustomImage);

  ASSERT_TRUE(Finger().tapBackButton(ui().targetNavigationController).ok());
  app().userData().customExercises.push_back(
      std::make_shared<PropertyList>(record("Mine", "custom", {})));
  app().flags().editingCustomExercise = true;
  ASSERT_TRUE(Finger().selectRow(menu(), {1, 0}).ok());
  EXPECT_EQ(topOfCatalogue(), &ui().customExercisesTableView);
  EXPECT_TRUE(app().flags().editingCustomExercise);
}

TEST_F(CatalogueTest, ExercisesByMuscleOpensTheBodyMapWithoutAnOldLabel) {
  writeCatalogue(2);
  launchOnCatalogueTab();
  ui().body.view().addSubview(ui().bodyButtonView);
  ASSERT_TRUE(Finger().selectRow(menu(), {0, 2}).ok());
  EXPECT_EQ(topOfCatalogue(), &ui().body);
  EXPECT_EQ(ui().bodyButtonView.superview(), nullptr);
  EXPECT_EQ(ui().body.view().subviews().size(), 1u);  // the picture stays
}

TEST_F(CatalogueTest, TheMuscleListShowsPrimaryThenSecondaryExercises) {
  writeCatalogue(2);
  launchOnCatalogueTab();
  const ExerciseRecords& all = app().exerciseList().exercises;
  app().selection().primaryMuscle = {all[3], all[1]};
  app().selection().additionalMuscle = {all[2]};
  ui().targetNavigationController.pushViewController(ui().muscleTableView2, Animated::No);
  TableView& list = ui().muscleTableView2.tableView();
  list.reloadData();

  EXPECT_EQ(rowTexts(list, 0), (std::vector<std::string>{"Bench Press", "incline press"}));
  EXPECT_EQ(rowTexts(list, 1), (std::vector<std::string>{"Squat"}));
  EXPECT_EQ(ui().muscleTableView2.titleForHeaderInSection(list, 0), "Primary Target Exercises");
  EXPECT_EQ(ui().muscleTableView2.titleForHeaderInSection(list, 1), "Secondary Target Exercises");

  ASSERT_TRUE(Finger().selectRow(list, {1, 0}).ok());
  EXPECT_EQ(app().selection().selectedExercise, "Squat");
  EXPECT_EQ(app().selection().lastTabIndex, 1);
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
}

}  // namespace
}  // namespace kinetra::test
