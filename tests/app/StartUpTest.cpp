// Launch: the values the shared state starts with, the interface it puts in the window, and a
// first start that leaves the documents directory untouched.
#include "app/AppTestSupport.h"

#include <cmath>

#include "ui/Finger.h"
#include "ui/UiTestSupport.h"

namespace kinetra::test {
namespace {

using StartUpTest = AppTest;

TEST_F(StartUpTest, FirstStartLoadsTheCatalogueHasEmptyUserDataAndWritesNothing) {
  writeSmallCatalogue();
  VelomarAppDelegate& state = launch();

  EXPECT_FALSE(std::filesystem::exists(documents())) << "a first start made the documents folder";
  EXPECT_TRUE(state.userData().workouts.asArray().empty());
  EXPECT_TRUE(state.userData().customExercises.empty());
  EXPECT_TRUE(state.userData().exerciseLog.asDictionary().empty());
  EXPECT_TRUE(state.userData().aerobicsLog.asDictionary().empty());
  EXPECT_TRUE(state.userData().settings.asDictionary().empty());
  EXPECT_EQ(state.exerciseList().exercises.size(), 5u);
  EXPECT_EQ(state.catalogue().targets,
            (std::vector<std::string>{"Chest", "Legs", "Arms", "Cardio"}));
  ASSERT_EQ(state.catalogue().muscles.size(), 2u);
  EXPECT_EQ(state.catalogue().muscles[1], (std::vector<std::string>{"Lower Body", "Quadriceps"}));
  EXPECT_EQ(state.catalogue().logDates.size(), 6u);
  EXPECT_EQ(state.catalogue().routines.size(), 1u);
  EXPECT_EQ(state.selection().selectedDate, "none");
  EXPECT_EQ(state.selection().lastTabIndex, 0);
  EXPECT_EQ(state.selection().today, "Mar 20, 2024");
  EXPECT_TRUE(state.flags().flipEnabled);
  EXPECT_TRUE(state.flags().refreshLogScroll);
  EXPECT_FALSE(state.flags().backViewIsVisible);
  EXPECT_FALSE(state.flags().doneLogo);
  EXPECT_FALSE(state.flags().useLogScroll);
  EXPECT_EQ(VelomarAppDelegate::shared(), &state);
  EXPECT_TRUE(lines().empty()) << lines().front();
}

TEST_F(StartUpTest, AMissingBundleGivesEmptyListsAndStillStarts) {
  VelomarAppDelegate& state = launch();
  EXPECT_TRUE(state.exerciseList().exercises.empty());
  EXPECT_TRUE(state.exerciseList().exerciseNameIndexArray.empty());
  EXPECT_TRUE(state.catalogue().targets.empty());
  EXPECT_TRUE(state.catalogue().logDates.empty());
  EXPECT_TRUE(state.catalogue().routines.empty());
  EXPECT_EQ(application().window().subviews().size(), 1u);
}

TEST_F(StartUpTest, AResourceOfTheWrongKindReadsAsEmpty) {
  writeResource("Exercises", PropertyList::Dictionary{{"name", "Squat"}});
  writeResource("Targets", PropertyList::Array{"Chest", PropertyList::Array{}, "Legs"});
  VelomarAppDelegate& state = launch();
  EXPECT_TRUE(state.exerciseList().exercises.empty());
  EXPECT_EQ(state.catalogue().targets, (std::vector<std::string>{"Chest", "Legs"}));
}

TEST_F(StartUpTest, TheWindowShowsFiveTabsEachInItsNavigationController) {
  VelomarAppDelegate& state = launch();
  MainInterface& ui = state.interface();
  ASSERT_EQ(application().window().subviews().size(), 1u);
  EXPECT_EQ(application().window().subviews()[0], &ui.tabBarController.view());
  const std::vector<ViewController*> tabs = ui.tabBarController.viewControllers();
  ASSERT_EQ(tabs.size(), 5u);
  EXPECT_EQ(tabs[0], &ui.kinetraNavigationController);
  EXPECT_EQ(tabs[1], &ui.targetNavigationController);
  EXPECT_EQ(tabs[2], &ui.workoutsNavigationController);
  EXPECT_EQ(tabs[3], &ui.routineNavigationController);
  EXPECT_EQ(tabs[4], &ui.logNavigationController);
  EXPECT_EQ(ui.kinetraNavigationController.topViewController(), &ui.exerciseScreen);
  EXPECT_EQ(ui.tabBarController.selectedIndex(), 0);

  // The card shows its front; the bar offers the information button.
  ASSERT_FALSE(ui.kinetraTabView.subviews().empty());
  EXPECT_EQ(ui.kinetraTabView.subviews().back(), &ui.velomarTabImage);
  EXPECT_TRUE(ui.velomarTabImage.isUserInteractionEnabled());
  EXPECT_EQ(ui.velomarNavigationTitle.rightBarButtonItem(), ui.informationBarItem.get());
  ASSERT_NE(ui.velomarTabText, nullptr);
  EXPECT_FALSE(ui.velomarTabText->isEditable());
  EXPECT_EQ(ui.velomarTabText->font().pointSize, 15);

  // Every tab can be reached with the finger.
  Finger finger;
  for (int tab = 4; tab >= 0; --tab) {
    EXPECT_TRUE(finger.selectTab(ui.tabBarController, tab).ok()) << tab;
    EXPECT_EQ(ui.tabBarController.selectedIndex(), tab);
  }
}

TEST_F(StartUpTest, TheHelpPageScrollsTheTallPictureInA360PointWindow) {
  std::filesystem::create_directories(resources());
  const std::vector<std::uint8_t> picture = pngBytes(320, 900);
  std::ofstream(resources() / "logo_back.jpg", std::ios::binary)
      .write(reinterpret_cast<const char*>(picture.data()),
             static_cast<std::streamsize>(picture.size()));
  VelomarAppDelegate& state = launch();
  const View& help = state.interface().kinetraHelpView;
  ASSERT_EQ(help.subviews().size(), 1u);
  const auto* scroller = dynamic_cast<const ScrollView*>(help.subviews()[0]);
  ASSERT_NE(scroller, nullptr);
  EXPECT_TRUE(rectsEqual(scroller->frame(), Rect{0, 0, 320, 360}));
  EXPECT_EQ(scroller->contentSize(), (Size{320, 900}));
  EXPECT_FALSE(scroller->bounces());
  EXPECT_TRUE(scroller->isDirectionalLockEnabled());
  EXPECT_EQ(scroller->indicatorStyle(), ScrollViewIndicatorStyle::kWhite);
}

TEST_F(StartUpTest, EndOfLifeTakesTheInterfaceOutOfTheWindow) {
  launch();
  Window& window = application().window();
  ASSERT_EQ(window.subviews().size(), 1u);
  shutDown();
  EXPECT_TRUE(window.subviews().empty());
  EXPECT_EQ(VelomarAppDelegate::shared(), nullptr);
}

}  // namespace
}  // namespace kinetra::test
