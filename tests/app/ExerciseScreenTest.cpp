#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "app/AppTestSupport.h"
#include "app/ExerciseScreen.h"
#include "ui/Finger.h"

namespace kinetra::test {
namespace {

bool contains(const View& container, const View& view) {
  const auto& subviews = container.subviews();
  return std::find(subviews.begin(), subviews.end(), &view) != subviews.end();
}

bool samePoint(Point a, Point b) { return a.x == b.x && a.y == b.y; }

const View* front(const View& container) {
  return container.subviews().empty() ? nullptr : container.subviews().back();
}

// The pictures the screen puts on an entry pane's header, back to front.
std::vector<const View*> headerOf(const View& pane) {
  std::vector<const View*> header;
  for (const View* view : pane.subviews()) {
    if (view->tag() == ExerciseScreen::kHeaderTag) header.push_back(view);
  }
  return header;
}

class ExerciseScreenTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    for (const char* picture : {"logo.jpg", "logo_back.jpg", "background.jpg", "jump_rope_log.png",
                                "rotate_icon.gif", "log_icon.gif", "graph_icon.gif"}) {
      std::filesystem::copy_file(
          std::filesystem::path(KINETRA_TEST_SOURCE_DIR) / "resources" / picture,
          resources() / picture);
    }
    launch();
  }

  MainInterface& ui() { return app().interface(); }
  View& card() { return ui().kinetraTabView; }
  Image bundlePicture(const char* name, const char* type) {
    return Image::resource(app().bundle(), name, type);
  }

  void openExercise(const std::string& name, int fromTab = 1) {
    app().selection().selectedExercise = name;
    app().flags().doneLogo = true;
    app().selection().lastTabIndex = fromTab;
    ui().velomarTabText->setText("how to " + name);
    ui().velomarNavigationTitle.setLeftBarButtonItem(&ui().velomarBackButton);
    ui().velomarNavigationTitle.setRightBarButtonItem(ui().segmentBarItem.get());
    app().velomarTabSelect();
  }

  Finger finger;
};

TEST_F(ExerciseScreenTest, AtLaunchTheCardTurnsToTheHelpPageAndBackToTheLogo) {
  ASSERT_EQ(front(card()), &ui().velomarTabImage);
  ASSERT_EQ(ui().velomarNavigationTitle.rightBarButtonItem(), ui().informationBarItem.get());
  ASSERT_TRUE(finger.tap(*ui().informationButton).ok());

  EXPECT_TRUE(app().flags().backViewIsVisible);
  EXPECT_EQ(front(card()), &ui().kinetraHelpView);
  EXPECT_FALSE(contains(card(), ui().velomarTabImage));
  ASSERT_TRUE(card().lastAnimation().has_value());
  EXPECT_EQ(card().lastAnimation()->transition, AnimationTransition::kFlipFromRight);
  EXPECT_DOUBLE_EQ(card().lastAnimation()->duration, 0.75);
  // The help page scrolls over the "logo_back" picture.
  ASSERT_FALSE(ui().kinetraHelpView.subviews().empty());
  const View* scroller = ui().kinetraHelpView.subviews().front();
  ASSERT_FALSE(scroller->subviews().empty());
  const auto* help = dynamic_cast<const ImageView*>(scroller->subviews().front());
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->image(), bundlePicture("logo_back", "jpg"));
  EXPECT_FALSE(help->image().empty());

  ui().velomarTabImage.setImage({});  // whatever the card showed, turning back shows the logo
  ASSERT_TRUE(finger.tap(*ui().informationButton).ok());
  EXPECT_FALSE(app().flags().backViewIsVisible);
  EXPECT_EQ(front(card()), &ui().velomarTabImage);
  EXPECT_EQ(ui().velomarTabImage.image(), bundlePicture("logo", "jpg"));
  EXPECT_EQ(card().lastAnimation()->transition, AnimationTransition::kFlipFromLeft);
}

TEST_F(ExerciseScreenTest, AnOpenedExerciseTurnsToItsDescriptionAndMuscles) {
  const Image squat = bundlePicture("background", "jpg");
  ui().velomarTabImage.setImage(squat);
  openExercise("Squat");
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
  EXPECT_EQ(front(card()), &ui().velomarTabImage);

  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 0).ok());
  EXPECT_TRUE(app().flags().backViewIsVisible);
  EXPECT_FALSE(contains(card(), ui().velomarTabImage));
  ASSERT_GE(card().subviews().size(), 2U);
  EXPECT_EQ(card().subviews().back(), &ui().MusclesText);
  EXPECT_TRUE(contains(card(), *ui().velomarTabText));
  EXPECT_FALSE(contains(card(), ui().kinetraHelpView));

  // A double tap on the description turns it back; the picture is the exercise's still.
  ASSERT_TRUE(finger.tap(*ui().velomarTabText, 2).ok());
  EXPECT_FALSE(app().flags().backViewIsVisible);
  EXPECT_EQ(front(card()), &ui().velomarTabImage);
  EXPECT_FALSE(contains(card(), *ui().velomarTabText));
  EXPECT_EQ(ui().velomarTabImage.image(), squat);
}

TEST_F(ExerciseScreenTest, DoubleTapOnThePictureTurnsOnlyWhenAllowed) {
  openExercise("Squat");
  ASSERT_TRUE(finger.tap(ui().velomarTabImage, 1).ok());
  EXPECT_FALSE(app().flags().backViewIsVisible);
  ASSERT_TRUE(finger.tap(ui().velomarTabImage, 2).ok());
  EXPECT_TRUE(app().flags().backViewIsVisible);

  app().velomarTabSelect();
  app().flags().flipEnabled = false;
  ASSERT_TRUE(finger.tap(ui().velomarTabImage, 2).ok());
  EXPECT_FALSE(app().flags().backViewIsVisible);
}

TEST_F(ExerciseScreenTest, GraphSegmentFollowsTheKindOfExercise) {
  SegmentedControl& bar = *ui().segmentedControl;
  openExercise("Squat");
  EXPECT_TRUE(bar.isEnabledForSegmentAtIndex(2));
  openExercise(" treadmill");
  EXPECT_FALSE(bar.isEnabledForSegmentAtIndex(2));
  EXPECT_TRUE(bar.isEnabledForSegmentAtIndex(1));
  // A tap on the disabled segment does nothing; what is checked is its effect, not the touch.
  static_cast<void>(finger.chooseSegment(bar, 2));
  EXPECT_EQ(ui().graphView.superview(), nullptr);
  openExercise("Zottman Curl");
  EXPECT_TRUE(bar.isEnabledForSegmentAtIndex(2));
}

TEST_F(ExerciseScreenTest, StrengthPaneOpensWithItsHeaderAndBar) {
  // The bundle has no thumbnail of this exercise; the documents directory has one.
  std::filesystem::create_directories(documents());
  std::filesystem::copy_file(resources() / "logo.jpg", documents() / "Squat_t.jpg");
  openExercise("Squat");
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());

  EXPECT_EQ(front(card()), &ui().kinetraLogView);
  EXPECT_FALSE(contains(card(), ui().velomarTabImage));
  EXPECT_TRUE(rectsEqual(ui().kinetraLogView.frame(), Rect{0, 0, 321, 369}));
  EXPECT_EQ(ui().logExerciseLabel.text(), "Squat");
  EXPECT_EQ(card().lastAnimation()->transition, AnimationTransition::kCurlUp);
  EXPECT_DOUBLE_EQ(card().lastAnimation()->duration, 1.0);
  EXPECT_FALSE(app().flags().flipEnabled);
  NavigationItem& bar = ui().velomarNavigationTitle;
  EXPECT_EQ(bar.title(), "Log Entry");
  EXPECT_EQ(bar.leftBarButtonItem(), &ui().logDoneButton);
  EXPECT_EQ(bar.rightBarButtonItem(), &ui().logEditButton);

  const auto header = headerOf(ui().kinetraLogView);
  ASSERT_EQ(header.size(), 2U);
  const auto* background = dynamic_cast<const ImageView*>(header[0]);
  const auto* thumbnail = dynamic_cast<const ImageView*>(header[1]);
  ASSERT_TRUE(background != nullptr && thumbnail != nullptr);
  EXPECT_EQ(background->image(), bundlePicture("background", "jpg"));
  EXPECT_EQ(thumbnail->image(), Image::contentsOfFile(documents() / "Squat_t.jpg"));
  EXPECT_FALSE(thumbnail->image().empty());
  for (const View* picture : header) EXPECT_TRUE(samePoint(picture->center(), Point{40, 80}));

  // Opening again replaces the header instead of piling pictures up.
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  openExercise("Squat");
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  EXPECT_EQ(headerOf(ui().kinetraLogView).size(), 2U);
}

// A custom exercise may take a catalogue name; the later record is the one the screen shows,
// in the pane's header as in the muscles text.
TEST_F(ExerciseScreenTest, TheLastRecordOfANameIsTheOneShownEverywhere) {
  std::filesystem::create_directories(documents());
  std::filesystem::copy_file(resources() / "logo.jpg", documents() / "My Squat_t.jpg");
  PropertyList custom = exerciseRecord("Squat", "Legs");
  custom.asDictionary()["image"] = "My Squat";
  custom.asDictionary()["muscle1"] = "Gluteus";
  writeDocument("Custom_Exercises.plist", PropertyList::Array{custom});
  relaunch();

  openExercise("Squat");
  app().updateMuscleText();
  EXPECT_NE(ui().MusclesText.text().find("Primary Muscle: Gluteus"), std::string::npos)
      << ui().MusclesText.text();
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  const auto header = headerOf(ui().kinetraLogView);
  ASSERT_EQ(header.size(), 2U);
  const auto* thumbnail = dynamic_cast<const ImageView*>(header[1]);
  ASSERT_NE(thumbnail, nullptr);
  EXPECT_FALSE(thumbnail->image().empty());
  EXPECT_EQ(thumbnail->image(), Image::contentsOfFile(documents() / "My Squat_t.jpg"));
}

TEST_F(ExerciseScreenTest, AerobicPaneShowsTheKindPictureAndAHigherHeader) {
  openExercise(" jump rope");
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  EXPECT_EQ(front(card()), &ui().kinetraAerobicsView);
  EXPECT_EQ(ui().aerobicsLabel.text(), " jump rope");
  EXPECT_EQ(ui().aerobicsLogImage.image(), bundlePicture("jump_rope_log", "png"));
  EXPECT_FALSE(ui().aerobicsLogImage.image().empty());
  const auto header = headerOf(ui().kinetraAerobicsView);
  ASSERT_EQ(header.size(), 2U);
  for (const View* picture : header) EXPECT_TRUE(samePoint(picture->center(), Point{40, 37}));
  EXPECT_TRUE(headerOf(ui().kinetraLogView).empty());
}

TEST_F(ExerciseScreenTest, DoneReturnsToTheOpeningTabAndLeavesThePane) {
  openExercise("Squat", 3);
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 3);
  EXPECT_TRUE(contains(card(), ui().kinetraLogView));

  openExercise("bench press", 1);
  EXPECT_EQ(front(card()), &ui().velomarTabImage);
  EXPECT_FALSE(contains(card(), ui().kinetraLogView));
  EXPECT_TRUE(app().flags().flipEnabled);
  EXPECT_EQ(ui().velomarNavigationTitle.title(), "");
}

TEST_F(ExerciseScreenTest, DoneWithoutTheLogEntryTitleClosesThePaneInPlace) {
  openExercise("Squat", 2);
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 1).ok());
  ui().velomarNavigationTitle.setTitle("Previous Records");
  app().logDoneSelect();
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 0);
  EXPECT_EQ(front(card()), &ui().velomarTabImage);
  EXPECT_FALSE(contains(card(), ui().kinetraLogView));
  EXPECT_EQ(ui().velomarNavigationTitle.leftBarButtonItem(), &ui().velomarBackButton);
  EXPECT_EQ(ui().velomarNavigationTitle.rightBarButtonItem(), ui().segmentBarItem.get());
  EXPECT_FALSE(app().flags().backViewIsVisible);
}

TEST_F(ExerciseScreenTest, BackReturnsToTheOpeningTab) {
  openExercise("Squat", 2);
  ASSERT_TRUE(finger.tapBarButton(ui().velomarBackButton).ok());
  EXPECT_EQ(ui().tabBarController.selectedIndex(), 2);
}

TEST_F(ExerciseScreenTest, ShowingAnExerciseClosesALogPageLeftOpen) {
  openExercise("Squat");
  ui().kinetraNavigationController.pushViewController(ui().kinetraLogView2, Animated::No);
  openExercise("bench press");
  EXPECT_EQ(ui().kinetraNavigationController.topViewController(), &ui().exerciseScreen);
}

TEST_F(ExerciseScreenTest, GraphSegmentShowsTheGraphTurnedAndFadingIn) {
  openExercise("Squat");
  View& graph = ui().graphView;
  const auto generation = graph.displayGeneration();
  ASSERT_TRUE(finger.chooseSegment(*ui().segmentedControl, 2).ok());

  EXPECT_EQ(graph.superview(), &application().window());
  EXPECT_EQ(application().window().subviews().back(), &graph);
  EXPECT_GT(graph.displayGeneration(), generation);
  EXPECT_TRUE(application().isStatusBarHidden());
  EXPECT_TRUE(samePoint(graph.center(), Point{160, 240}));
  const AffineTransform quarter = AffineTransform::makeRotation(std::numbers::pi / 2);
  EXPECT_EQ(graph.transform(), quarter);
  // Landscape: the 480 × 320 graph stands upright on the 320 × 480 window.
  EXPECT_NEAR(graph.frame().width, 320, 1e-9);
  EXPECT_NEAR(graph.frame().height, 480, 1e-9);
  EXPECT_DOUBLE_EQ(graph.alpha(), 1);
  ASSERT_TRUE(graph.lastAnimation().has_value());
  EXPECT_EQ(graph.lastAnimation()->kind, AnimationRecord::Kind::kAlpha);
  EXPECT_DOUBLE_EQ(graph.lastAnimation()->fromAlpha, 0);
  EXPECT_DOUBLE_EQ(graph.lastAnimation()->toAlpha, 1);
  EXPECT_DOUBLE_EQ(graph.lastAnimation()->duration, 0.75);
}

}  // namespace
}  // namespace kinetra::test
