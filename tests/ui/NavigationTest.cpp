#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/BarButtonItem.h"
#include "ui/Finger.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"

namespace kinetra {
namespace {

class Screen : public ViewController {
 public:
  explicit Screen(std::string title) { setTitle(std::move(title)); }
  void viewWillAppear(Animated) override { ++appearances; }
  int appearances = 0;
};

class Watcher : public NavigationControllerDelegate, public TabBarControllerDelegate {
 public:
  void willShowViewController(NavigationController&, ViewController& shown,
                              Animated animated) override {
    shownTitles.push_back(shown.title() + (animated == Animated::Yes ? " animated" : ""));
  }
  bool shouldSelectViewController(TabBarController&, ViewController& chosen) override {
    return chosen.title() != refused;
  }
  void didSelectViewController(TabBarController&, ViewController& chosen) override {
    selected.push_back(chosen.title());
  }
  std::vector<std::string> shownTitles;
  std::vector<std::string> selected;
  std::string refused = "(none)";
};

class NavigationTest : public test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    tabs.setViewControllers({&first, &second});
    window().addSubview(tabs.view());
  }

  Screen root{"Root"};
  Screen detail{"Detail"};
  Screen deeper{"Deeper"};
  NavigationController first{root};
  Screen second{"Second"};
  TabBarController tabs;
  Finger finger;
};

TEST_F(NavigationTest, PushAndPopMoveTheTopScreenIntoTheView) {
  Watcher watcher;
  first.setDelegate(&watcher);
  first.pushViewController(detail, Animated::Yes);
  first.pushViewController(deeper, Animated::No);
  EXPECT_EQ(first.viewControllers(), (std::vector<ViewController*>{&root, &detail, &deeper}));
  EXPECT_EQ(first.topViewController(), &deeper);
  EXPECT_EQ(deeper.navigationController(), &first);
  EXPECT_TRUE(deeper.view().isVisibleInWindow());
  EXPECT_FALSE(detail.view().isVisibleInWindow());
  EXPECT_DOUBLE_EQ(deeper.view().frame().y, NavigationBar::kHeight);
  EXPECT_EQ(watcher.shownTitles, (std::vector<std::string>{"Detail animated", "Deeper"}));

  first.pushViewController(detail, Animated::No);  // already on the stack
  EXPECT_EQ(first.viewControllers().size(), 3u);

  EXPECT_EQ(first.popViewControllerAnimated(Animated::Yes), &deeper);
  EXPECT_EQ(deeper.navigationController(), nullptr);
  EXPECT_TRUE(detail.view().isVisibleInWindow());
  EXPECT_EQ(first.view().lastAnimation()->kind, AnimationRecord::Kind::kPop);
  first.popToRootViewControllerAnimated(Animated::No);
  EXPECT_EQ(first.popViewControllerAnimated(Animated::No), nullptr);  // the root stays
  EXPECT_EQ(first.topViewController(), &root);
}

TEST_F(NavigationTest, TheBackButtonPopsAndIsTitledAfterTheScreenBelow) {
  EXPECT_EQ(finger.tapBackButton(first).code(), Status::Code::kNotFound);  // at the root
  first.pushViewController(detail, Animated::Yes);
  application().layoutIfNeeded();
  EXPECT_EQ(first.navigationBar().backButton().currentTitle(), "Root");
  ASSERT_TRUE(finger.tapBackButton(first).ok());
  EXPECT_EQ(first.topViewController(), &root);

  // A title that would run into the bar's title gives way to "Back"; a short one stays.
  root.setTitle("A long way back home");
  detail.setTitle("Detailed view");
  first.pushViewController(detail, Animated::No);
  application().layoutIfNeeded();
  EXPECT_EQ(first.navigationBar().backButton().currentTitle(), "Back");
  detail.setTitle("Tip");
  first.popViewControllerAnimated(Animated::No);
  first.pushViewController(detail, Animated::No);
  application().layoutIfNeeded();
  EXPECT_EQ(first.navigationBar().backButton().currentTitle(), "A long way back home");
  ASSERT_TRUE(finger.tapBackButton(first).ok());

  // A left item takes the back button's place.
  first.pushViewController(detail, Animated::No);
  BarButtonItem done("Done", BarButtonItemStyle::kDone, nullptr);
  detail.navigationItem().setLeftBarButtonItem(&done);
  EXPECT_EQ(finger.tapBackButton(first).code(), Status::Code::kNotFound);
}

// The bar's title keeps clear of the buttons on either side: centred when it fits between them,
// pushed aside and cut short when it does not.
TEST_F(NavigationTest, TheTitleStandsBetweenTheButtonsAndNeverUnderThem) {
  const auto titleFrame = [&] {
    application().layoutIfNeeded();
    for (View* view : first.navigationBar().subviews()) {
      if (auto* label = dynamic_cast<Label*>(view)) return label->frame();
    }
    return Rect{};
  };
  const auto clearOf = [](Rect title, Rect button) {
    return title.x + title.width <= button.x || button.x + button.width <= title.x;
  };
  root.setTitle("Catalogue");
  detail.setTitle("Custom Exercises");
  SegmentedControl control(
      std::vector<SegmentedControl::Item>{std::string("Add"), std::string("Del")},
      Rect{0, 0, 90, 30});
  BarButtonItem item(control);
  detail.navigationItem().setRightBarButtonItem(&item);
  first.pushViewController(detail, Animated::No);
  const Rect title = titleFrame();
  const Rect back = first.navigationBar().backButton().frame();
  // "Catalogue" does not fit at its size left of the long title, but does drawn smaller: it
  // keeps its text in a narrower button rather than giving way to "Back".
  EXPECT_EQ(first.navigationBar().backButton().currentTitle(), "Catalogue");
  EXPECT_LT(back.width, 16 + 8 * 9);
  EXPECT_TRUE(clearOf(title, back)) << title.x << " " << back.x + back.width;
  EXPECT_TRUE(clearOf(title, control.frame())) << title.x + title.width << " " << control.frame().x;
  EXPECT_GT(title.width, 0);

  // A short title with nothing on its right is centred in the bar.
  detail.navigationItem().setRightBarButtonItem(nullptr);
  detail.setTitle("Tip");
  application().layoutIfNeeded();
  const Rect centred = titleFrame();
  EXPECT_DOUBLE_EQ(centred.x + centred.width / 2, first.navigationBar().bounds().width / 2);
}

// A taller window: the tab bar stays at the bottom, the screen under a navigation bar takes the
// extra height, and inside it views follow their autoresizing (none: they keep their place).
TEST_F(NavigationTest, ATallerWindowGivesTheScreensItsHeight) {
  View fixed(Rect{0, 100, 320, 50});
  View growing(Rect{0, 150, 320, 100});
  growing.setAutoresizingMask(View::kFlexibleHeight);
  View footer(Rect{0, 300, 320, 20});
  footer.setAutoresizingMask(View::kFlexibleTopMargin);
  for (View* view : {&fixed, &growing, &footer}) root.view().addSubview(*view);
  application().layoutIfNeeded();
  const double screenHeight = root.view().bounds().height;
  const double growingHeight = growing.frame().height;
  const double footerY = footer.frame().y;

  window().setHeight(844.0 * 320 / 390);  // a phone of 390 × 844, 320 points wide
  application().layoutIfNeeded();
  const double taller = 844.0 * 320 / 390 - 480;
  const Rect tabBar = tabs.tabBar().frame();
  EXPECT_DOUBLE_EQ(tabs.view().frame().y + tabBar.y + tabBar.height, window().bounds().height);
  EXPECT_DOUBLE_EQ(root.view().bounds().height, screenHeight + taller);
  EXPECT_DOUBLE_EQ(fixed.frame().y, 100);
  EXPECT_DOUBLE_EQ(fixed.frame().height, 50);
  EXPECT_DOUBLE_EQ(growing.frame().height, growingHeight + taller);
  EXPECT_DOUBLE_EQ(footer.frame().y, footerY + taller);
  EXPECT_DOUBLE_EQ(application().describeScreen().size.height, 844.0 * 320 / 390);

  // Back to the smallest, and never below it.
  window().setHeight(100);
  application().layoutIfNeeded();
  EXPECT_DOUBLE_EQ(window().bounds().height, 480);
  EXPECT_DOUBLE_EQ(growing.frame().height, growingHeight);
  EXPECT_DOUBLE_EQ(footer.frame().y, footerY);
}

TEST_F(NavigationTest, BarItemsCallTheirActionsAndCustomViewsGetTheirOwnTouches) {
  int edits = 0;
  BarButtonItem edit("Edit", BarButtonItemStyle::kBordered, [&](BarButtonItem& sender) {
    ++edits;
    sender.setTitle("Done");
  });
  SegmentedControl segments(std::vector<std::string>{"Add", "Edit"}, Rect{0, 0, 90, 30});
  segments.setMomentary(true);
  std::vector<int> chosen;
  segments.addTarget(
      [&](Control& sender) {
        chosen.push_back(dynamic_cast<SegmentedControl&>(sender).selectedSegmentIndex());
      },
      ControlEvent::kValueChanged);
  BarButtonItem segmentItem(segments);
  root.navigationItem().setLeftBarButtonItem(&edit);
  root.navigationItem().setRightBarButtonItem(&segmentItem);

  ASSERT_TRUE(finger.tapBarButton(edit).ok());
  EXPECT_EQ(edits, 1);
  application().layoutIfNeeded();
  EXPECT_EQ(first.navigationBar().viewForItem(edit)->kind(), "button");
  EXPECT_EQ(dynamic_cast<Button*>(first.navigationBar().viewForItem(edit))->currentTitle(), "Done");

  ASSERT_TRUE(finger.chooseSegment(segments, 1).ok());
  ASSERT_TRUE(finger.chooseSegment(segments, 1).ok());
  EXPECT_EQ(chosen, (std::vector<int>{1, 1}));  // momentary: every tap counts
  EXPECT_EQ(segments.selectedSegmentIndex(), SegmentedControl::kNoSegment);
  EXPECT_EQ(segments.superview(), &first.navigationBar());

  // Another screen on top: its bar shows none of these.
  first.pushViewController(detail, Animated::No);
  EXPECT_EQ(finger.tapBarButton(edit).code(), Status::Code::kNotFound);
  EXPECT_EQ(finger.chooseSegment(segments, 0).code(), Status::Code::kNotFound);
  EXPECT_EQ(segments.superview(), nullptr);
  first.popViewControllerAnimated(Animated::No);
  ASSERT_TRUE(finger.chooseSegment(segments, 0).ok());
  EXPECT_EQ(chosen.size(), 3u);

  // An item that is destroyed leaves the bar.
  {
    BarButtonItem temporary("Later", BarButtonItemStyle::kPlain, nullptr);
    root.navigationItem().setLeftBarButtonItem(&temporary);
  }
  EXPECT_EQ(root.navigationItem().leftBarButtonItem(), nullptr);
  application().layoutIfNeeded();
}

TEST_F(NavigationTest, AHiddenNavigationBarGivesTheScreenTheWholeView) {
  first.setNavigationBarHidden(true, Animated::Yes);
  application().layoutIfNeeded();
  EXPECT_DOUBLE_EQ(root.view().frame().y, 0);
  EXPECT_TRUE(first.navigationBar().isHidden());
  EXPECT_EQ(first.navigationBar().lastAnimation()->kind, AnimationRecord::Kind::kNavigationBar);
  first.setNavigationBarHidden(false, Animated::No);
  EXPECT_DOUBLE_EQ(root.view().frame().y, NavigationBar::kHeight);
}

TEST_F(NavigationTest, TabsSwitchByCodeAndByFinger) {
  Watcher watcher;
  tabs.setDelegate(&watcher);
  EXPECT_EQ(tabs.selectedIndex(), 0);
  EXPECT_TRUE(root.view().isVisibleInWindow());
  tabs.setSelectedIndex(1);  // by code: the delegate hears nothing
  EXPECT_TRUE(second.view().isVisibleInWindow());
  EXPECT_FALSE(root.view().isVisibleInWindow());
  EXPECT_TRUE(watcher.selected.empty());
  tabs.setSelectedIndex(7);
  EXPECT_EQ(tabs.selectedIndex(), 1);

  ASSERT_TRUE(finger.selectTab(tabs, 0).ok());
  EXPECT_EQ(tabs.selectedIndex(), 0);
  EXPECT_EQ(watcher.selected, (std::vector<std::string>{""}));  // the navigation controller
  watcher.refused = "Second";
  ASSERT_TRUE(finger.selectTab(tabs, 1).ok());
  EXPECT_EQ(tabs.selectedIndex(), 0);

  // Tapping the shown tab again takes its stack back to the root.
  first.pushViewController(detail, Animated::No);
  ASSERT_TRUE(finger.selectTab(tabs, 0).ok());
  EXPECT_EQ(first.topViewController(), &root);
  EXPECT_EQ(finger.selectTab(tabs, 5).code(), Status::Code::kInvalidArgument);
}

TEST_F(NavigationTest, ScreensDestroyedWhileShownLeaveTheStackAndTheTabs) {
  {
    Screen temporary("Temporary");
    first.pushViewController(temporary, Animated::No);
    EXPECT_TRUE(temporary.view().isVisibleInWindow());
  }
  EXPECT_EQ(first.topViewController(), &root);
  application().layoutIfNeeded();
  EXPECT_TRUE(root.view().isVisibleInWindow());
  {
    auto navigation = std::make_unique<NavigationController>(detail);
    navigation->pushViewController(deeper, Animated::No);
  }
  EXPECT_EQ(detail.navigationController(), nullptr);
  EXPECT_EQ(deeper.navigationController(), nullptr);
  first.pushViewController(detail, Animated::No);  // free to go elsewhere now
  EXPECT_EQ(first.topViewController(), &detail);
}

}  // namespace
}  // namespace kinetra
