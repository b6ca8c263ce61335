#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "catalogue/CustomExercisePhoto.h"
#include "graphics/Picture.h"
#include "graphics/PictureHeader.h"
#include "graphics/PngEncoder.h"
#include "ui/Finger.h"
#include "ui/Font.h"

namespace kinetra::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFile = "Custom_Exercises.plist";

// The PNG bytes of a `width` × `height` picture of one colour.
std::vector<std::uint8_t> photo(int width, int height, Rgba colour) {
  Result<Picture> picture = Picture::filled(width, height, colour);
  EXPECT_TRUE(picture.ok());
  Result<std::vector<std::uint8_t>> png = encodePng(*picture);
  EXPECT_TRUE(png.ok());
  return png.ok() ? *png : std::vector<std::uint8_t>{};
}

class CustomExercisesTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeResource("Targets", PropertyList::Array{PropertyList("Chest"), PropertyList("Legs")});
    writeResource(
        "Muscles",
        PropertyList::Array{PropertyList::Array{PropertyList("Upper"), PropertyList("Pectoralis"),
                                                PropertyList("Deltoids")},
                            PropertyList::Array{PropertyList("Lower"), PropertyList("Glutes")}});
    writeResource("Exercises", PropertyList::Array{PropertyList::Dictionary{
                                   {"name", "Squat"}, {"image", "custom"}, {"target1", "Legs"}}});
    for (const char* picture : {"custom.jpg", "custom_t.jpg"}) {
      fs::copy_file(fs::path(KINETRA_TEST_SOURCE_DIR) / "resources" / picture,
                    resources() / picture, fs::copy_options::overwrite_existing);
    }
  }

  void launchOnCatalogue() {
    launch();
    ASSERT_TRUE(Finger().selectTab(ui().tabBarController, 1).ok());
  }

  MainInterface& ui() { return app().interface(); }
  NavigationController& tab() { return ui().targetNavigationController; }
  TableView& editor() { return ui().addExercisesTableView.tableView(); }
  TableView& list() { return ui().customExercisesTableView.tableView(); }

  // The regions menu's custom row: the list, or the editor when there is no exercise yet.
  void openCustomRow() {
    ASSERT_TRUE(Finger().selectRow(ui().targetMenu.tableView(), {1, 0}).ok());
  }

  // Types `name` (and a description) into the open editor, chooses the details given, saves.
  void addExercise(const std::string& name, const std::string& description = "",
                   std::vector<std::pair<int, IndexPath>> choices = {}) {
    ASSERT_TRUE(Finger().typeInto(ui().customName, name).ok());
    if (!description.empty()) {
      ASSERT_TRUE(Finger().typeInto(ui().CustomDescription, description).ok());
    }
    for (const auto& [row, chosen] : choices) choose(row, chosen);
    ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
  }

  // Opens the chooser of editor row `row` (1 to 3) and chooses `chosen` in it.
  void choose(int row, IndexPath chosen) {
    ASSERT_TRUE(Finger().tapAccessory(editor(), {2, row}).ok());
    auto* chooser = dynamic_cast<TableViewController*>(tab().topViewController());
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(Finger().selectRow(chooser->tableView(), chosen).ok());
    ASSERT_EQ(tab().topViewController(), &ui().addExercisesTableView);
  }

  void pickPhoto(std::vector<std::uint8_t> bytes) {
    ASSERT_TRUE(Finger().selectRow(editor(), {2, 0}).ok());
    ASSERT_EQ(tab().topViewController(), &app().imagePickerController());
    EXPECT_TRUE(tab().isNavigationBarHidden());
    ASSERT_TRUE(Finger().pickPhoto(app().imagePickerController(), std::move(bytes)).ok());
    EXPECT_EQ(tab().topViewController(), &ui().addExercisesTableView);
    EXPECT_FALSE(tab().isNavigationBarHidden());
  }

  std::string rowText(TableView& table, IndexPath indexPath) {
    TableViewCell* cell = table.cellForRowAtIndexPath(indexPath);
    return cell != nullptr ? cell->text() : "<off screen>";
  }

  PropertyList::Array stored() {
    PropertyList file = readDocument(kFile);
    return file.isArray() ? file.asArray() : PropertyList::Array{};
  }

  std::vector<std::string> completeListNames() {
    std::vector<std::string> names;
    for (const ExerciseRecord& record : app().exerciseList().exercises) {
      names.emplace_back(recordString(*record, "name").value_or("?"));
    }
    return names;
  }

  std::vector<ViewController*> stack() { return tab().viewControllers(); }
};

TEST_F(CustomExercisesTest, TheFirstExerciseGoesStraightToTheEditorThenTheList) {
  launchOnCatalogue();
  openCustomRow();
  ASSERT_EQ(tab().topViewController(), &ui().addExercisesTableView);
  EXPECT_EQ(ui().addExercisesNavigationTitle.title(), "Add Exercise");
  EXPECT_TRUE(ui().customName.isEditable());
  addExercise("Farmer Walk", "Carry two heavy bells.");
  // The list took the editor's place, right above the menu.
  EXPECT_EQ(stack(),
            (std::vector<ViewController*>{&ui().targetMenu, &ui().customExercisesTableView}));
  EXPECT_EQ(list().numberOfRowsInSection(0), 1);
  EXPECT_EQ(rowText(list(), {0, 0}), "Farmer Walk");

  // Saved without any detail: "none" three times, "n/a", and the placeholder picture.
  const PropertyList::Array records = stored();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0],
            PropertyList(PropertyList::Dictionary{{"name", "Farmer Walk"},
                                                  {"image", "custom"},
                                                  {"description", "Carry two heavy bells."},
                                                  {"target1", "none"},
                                                  {"muscle1", "none"},
                                                  {"muscle2", "n/a"},
                                                  {"difficulty", "none"}}));
  EXPECT_EQ(completeListNames(), (std::vector<std::string>{"Squat", "Farmer Walk"}));
  EXPECT_EQ(list().cellForRowAtIndexPath({0, 0})->imageView().image(),
            Image::contentsOfFile(resources() / "custom_t.jpg"));

  // With one exercise, the row opens the list; "Add" opens an empty editor above it.
  ASSERT_TRUE(Finger().tapBackButton(tab()).ok());
  openCustomRow();
  EXPECT_EQ(tab().topViewController(), &ui().customExercisesTableView);
  ASSERT_TRUE(Finger().chooseSegment(*ui().customSegmentedControl, 0).ok());
  EXPECT_EQ(tab().topViewController(), &ui().addExercisesTableView);
  EXPECT_EQ(ui().customName.text(), "");
  EXPECT_EQ(ui().CustomDescription.text(), "");
}

TEST_F(CustomExercisesTest, ChoosersFillTheDetailsAndNoneIsStoredAsNone) {
  launchOnCatalogue();
  openCustomRow();
  choose(1, {0, 1});  // "Legs"
  EXPECT_EQ(rowText(editor(), {2, 1}), "Legs");
  choose(2, {0, 1});  // "Deltoids", the group's second muscle
  EXPECT_EQ(rowText(editor(), {2, 2}), "Deltoids");
  choose(3, {0, 2});  // "Advanced"
  choose(3, {0, 3});  // changed to "none"
  EXPECT_EQ(rowText(editor(), {2, 3}), "none");
  addExercise("Step Up");
  ASSERT_EQ(stored().size(), 1u);
  const PropertyList record = stored()[0];
  EXPECT_EQ(recordString(record, "target1"), "Legs");
  EXPECT_EQ(recordString(record, "muscle1"), "Deltoids");
  EXPECT_EQ(recordString(record, "muscle2"), "n/a");
  EXPECT_EQ(recordString(record, "difficulty"), "none");

  // The choosers' rows.
  ASSERT_TRUE(Finger().chooseSegment(*ui().customSegmentedControl, 0).ok());
  EXPECT_EQ(rowText(editor(), {2, 1}), "Target Region:");
  ASSERT_TRUE(Finger().tapAccessory(editor(), {2, 2}).ok());
  TableView& muscles = ui().customMuscleTableView.tableView();
  EXPECT_EQ(muscles.numberOfSections(), 3);
  EXPECT_EQ(ui().customMuscleTableView.titleForHeaderInSection(muscles, 0), "Upper");
  EXPECT_EQ(ui().customMuscleTableView.titleForHeaderInSection(muscles, 2), "none");
  EXPECT_EQ(rowText(muscles, {1, 0}), "Glutes");
  EXPECT_EQ(muscles.rectForRowAtIndexPath({0, 0}).height, 39);
  TableViewCell* none = muscles.cellForRowAtIndexPath({2, 0});
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->text(), "none");
  EXPECT_TRUE(fontsEqual(none->textLabel().font(), Font::italicSystemFontOfSize(20)));
  ASSERT_TRUE(Finger().tapBackButton(tab()).ok());
  ASSERT_TRUE(Finger().tapAccessory(editor(), {2, 1}).ok());
  EXPECT_EQ(rowText(ui().customTargetTableView.tableView(), {0, 0}), "Chest");
  EXPECT_EQ(rowText(ui().customTargetTableView.tableView(), {0, 2}), "none");
}

TEST_F(CustomExercisesTest, NamesAreRefusedWhenEmptyTakenOrUnfitForAFileName) {
  launchOnCatalogue();
  openCustomRow();
  addExercise("Farmer Walk");
  ASSERT_TRUE(Finger().chooseSegment(*ui().customSegmentedControl, 0).ok());
  const fs::path root = documents().parent_path();
  const std::size_t entriesAround = std::distance(fs::directory_iterator(root), {});
  pickPhoto(photo(40, 40, {200, 10, 10, 255}));

  const std::string tooLong(201, 'x');
  for (const std::string& name :
       {std::string(), std::string("Farmer Walk"), std::string("../escape"), std::string("a/b"),
        std::string(".hidden"), std::string("."), std::string(".."), std::string("nul\0char", 8),
        tooLong}) {
    // Set as a browser's event could send it, NUL and all.
    ui().customName.setText(name);
    ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
    EXPECT_EQ(tab().topViewController(), &ui().addExercisesTableView) << name;
    EXPECT_EQ(ui().customName.text(), "") << name;
  }
  EXPECT_EQ(stored().size(), 1u);
  EXPECT_EQ(documentNames(), (std::vector<std::string>{kFile}));
  EXPECT_EQ(std::distance(fs::directory_iterator(root), {}), entriesAround);
  // The unsafe ones are told, once each; an empty or taken name is refused silently.
  std::size_t refusals = 0;
  for (const std::string& line : lines()) {
    if (line.find("the exercise name was refused") != std::string::npos) ++refusals;
  }
  EXPECT_EQ(refusals, 7u);

  // A catalogue exercise's name is fine, and so is the longest allowed one.
  addExercise("Squat");
  ASSERT_TRUE(Finger().chooseSegment(*ui().customSegmentedControl, 0).ok());
  addExercise(std::string(200, 'y'));
  EXPECT_EQ(stored().size(), 3u);
}

TEST_F(CustomExercisesTest, APickedPhotoIsStoredAtBothSizesUnderTheName) {
  launchOnCatalogue();
  openCustomRow();
  ASSERT_TRUE(Finger().typeInto(ui().customName, "Sled Push").ok());
  pickPhoto(photo(90, 30, {10, 200, 10, 255}));
  EXPECT_TRUE(app().flags().selectedCustomImage);
  // The row shows the new thumbnail, centred where the picture row puts it.
  TableViewCell* row = editor().cellForRowAtIndexPath({2, 0});
  ASSERT_NE(row, nullptr);
  ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());

  EXPECT_EQ(recordString(stored()[0], "image"), "Sled Push");
  const std::string picture = readDocumentBytes("Sled Push.jpg");
  const std::string thumbnail = readDocumentBytes("Sled Push_t.jpg");
  const auto bytesOf = [](const std::string& bytes) {
    return std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  };
  const auto sizeOf = [&](const std::string& bytes) { return pictureSize(bytesOf(bytes)); };
  ASSERT_TRUE(sizeOf(picture).ok());
  EXPECT_EQ(sniffPictureType(bytesOf(picture)), PictureType::kPng);
  EXPECT_EQ(sizeOf(picture)->width, 320);
  EXPECT_EQ(sizeOf(picture)->height, 370);
  ASSERT_TRUE(sizeOf(thumbnail).ok());
  EXPECT_EQ(sizeOf(thumbnail)->width, 35);
  EXPECT_EQ(sizeOf(thumbnail)->height, 40);
  EXPECT_EQ(list().cellForRowAtIndexPath({0, 0})->imageView().image(),
            Image::fromBytes({thumbnail.begin(), thumbnail.end()}));

  // Something that is not a picture is refused by the picker and nothing changes.
  ASSERT_TRUE(Finger().chooseSegment(*ui().customSegmentedControl, 0).ok());
  ASSERT_TRUE(Finger().selectRow(editor(), {2, 0}).ok());
  EXPECT_FALSE(Finger().pickPhoto(app().imagePickerController(), {'n', 'o', 'p', 'e'}).ok());
  ASSERT_TRUE(Finger().cancelPicker(app().imagePickerController()).ok());
  EXPECT_EQ(tab().topViewController(), &ui().addExercisesTableView);
  EXPECT_FALSE(tab().isNavigationBarHidden());
  EXPECT_FALSE(app().flags().selectedCustomImage);
}

TEST_F(CustomExercisesTest, EditingOneExerciseNeverTakesAnotherOnesPhoto) {
  launchOnCatalogue();
  openCustomRow();
  ASSERT_TRUE(Finger().typeInto(ui().customName, "Alpha").ok());
  pickPhoto(photo(20, 20, {255, 0, 0, 255}));
  ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
  ASSERT_TRUE(Finger().chooseSegment(*ui().customSegmentedControl, 0).ok());
  ASSERT_TRUE(Finger().typeInto(ui().customName, "Beta").ok());
  pickPhoto(photo(20, 20, {0, 0, 255, 255}));
  ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
  const std::string alpha = readDocumentBytes("Alpha.jpg");
  const std::string alphaThumbnail = readDocumentBytes("Alpha_t.jpg");
  ASSERT_NE(alpha, readDocumentBytes("Beta.jpg"));

  // Alpha opened, its description changed and saved without a new pick.
  ASSERT_TRUE(Finger().selectRow(list(), {0, 0}).ok());
  EXPECT_EQ(ui().addExercisesNavigationTitle.title(), "Edit Exercise");
  EXPECT_FALSE(ui().customName.isEditable());
  EXPECT_TRUE(app().flags().selectedCustomImage);
  ASSERT_TRUE(Finger().typeInto(ui().CustomDescription, "changed").ok());
  ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
  EXPECT_EQ(readDocumentBytes("Alpha.jpg"), alpha);
  EXPECT_EQ(readDocumentBytes("Alpha_t.jpg"), alphaThumbnail);
  EXPECT_EQ(recordString(stored()[0], "description"), "changed");
  EXPECT_EQ(recordString(stored()[0], "image"), "Alpha");
  // Edited in place: the same record in the list, the exercise list and the file.
  EXPECT_EQ(stored().size(), 2u);
  EXPECT_EQ(completeListNames(), (std::vector<std::string>{"Squat", "Alpha", "Beta"}));
}

TEST_F(CustomExercisesTest, EditingTheOnlyExerciseClosesTheEditorWithoutASecondList) {
  launchOnCatalogue();
  openCustomRow();
  addExercise("Only", "", {{1, {0, 0}}, {3, {0, 0}}});
  ASSERT_TRUE(Finger().selectRow(list(), {0, 0}).ok());
  // The choice rows show the record's values.
  EXPECT_EQ(rowText(editor(), {2, 1}), "Chest");
  EXPECT_EQ(rowText(editor(), {2, 2}), "none");
  EXPECT_EQ(rowText(editor(), {2, 3}), "Beginner");
  choose(2, {1, 0});
  ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
  EXPECT_EQ(stack(),
            (std::vector<ViewController*>{&ui().targetMenu, &ui().customExercisesTableView}));
  EXPECT_EQ(recordString(stored()[0], "muscle1"), "Glutes");
  EXPECT_EQ(recordString(stored()[0], "target1"), "Chest");
}

TEST_F(CustomExercisesTest, DeletingWritesTheFileAtOnceAndLeavesThePictures) {
  launchOnCatalogue();
  openCustomRow();
  ASSERT_TRUE(Finger().typeInto(ui().customName, "Gone").ok());
  pickPhoto(photo(20, 20, {1, 2, 3, 255}));
  ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
  ASSERT_TRUE(Finger().chooseSegment(*ui().customSegmentedControl, 0).ok());
  addExercise("Kept");

  SegmentedControl& control = *ui().customSegmentedControl;
  ASSERT_TRUE(Finger().chooseSegment(control, 1).ok());
  EXPECT_EQ(control.titleForSegmentAtIndex(1), "Done");
  EXPECT_TRUE(list().isEditing());
  ASSERT_TRUE(Finger().deleteRow(list(), {0, 0}).ok());
  EXPECT_EQ(list().numberOfRowsInSection(0), 1);
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(recordString(stored()[0], "name"), "Kept");
  EXPECT_EQ(completeListNames(), (std::vector<std::string>{"Squat", "Kept"}));
  EXPECT_FALSE(readDocumentBytes("Gone.jpg").empty());
  EXPECT_FALSE(readDocumentBytes("Gone_t.jpg").empty());
  ASSERT_TRUE(Finger().chooseSegment(control, 1).ok());
  EXPECT_EQ(control.titleForSegmentAtIndex(1), "Del");
  EXPECT_FALSE(list().isEditing());

  // A new start reads the same list.
  relaunch();
  EXPECT_EQ(completeListNames(), (std::vector<std::string>{"Squat", "Kept"}));
}

TEST_F(CustomExercisesTest, TheDoneKeysLineFeedStaysInTheName) {
  launchOnCatalogue();
  openCustomRow();
  ASSERT_TRUE(Finger().typeInto(ui().customName, "Walk").ok());
  ASSERT_TRUE(Finger().pressReturn().ok());
  EXPECT_FALSE(ui().customName.isFirstResponder());
  ASSERT_TRUE(Finger().tapBarButton(ui().addExerciseButton).ok());
  EXPECT_EQ(recordString(stored()[0], "name"), "Walk\n");
}

TEST(CustomExercisePhotoTest, DrawsBothSizesStretchedAndRefusesWhatIsNotAPicture) {
  // Left half red, right half blue: stretching keeps the halves.
  std::vector<std::uint8_t> rgba;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool left = x < 20;
      rgba.insert(rgba.end(), {static_cast<std::uint8_t>(left ? 255 : 0), 0,
                               static_cast<std::uint8_t>(left ? 0 : 255), 255});
    }
  }
  Result<Picture> source = Picture::create(40, 10, rgba);
  ASSERT_TRUE(source.ok());
  Result<std::vector<std::uint8_t>> png = encodePng(*source);
  ASSERT_TRUE(png.ok());
  Result<CustomExercisePhoto> drawn = CustomExercisePhoto::from(Image::fromBytes(*png));
  ASSERT_TRUE(drawn.ok()) << drawn.status().toString();
  EXPECT_EQ(drawn->picture.size(), (Size{320, 370}));
  EXPECT_EQ(drawn->thumbnail.size(), (Size{35, 40}));

  const std::vector<std::uint8_t> truncated(png->begin(), png->begin() + 40);
  EXPECT_FALSE(CustomExercisePhoto::from(Image::fromBytes(truncated)).ok());
  EXPECT_FALSE(CustomExercisePhoto::from(Image()).ok());
}

}  // namespace
}  // namespace kinetra::test
