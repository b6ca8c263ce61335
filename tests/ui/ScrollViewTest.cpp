#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/Finger.h"
#include "ui/ScrollView.h"

namespace kinetra {
namespace {

using test::UiTest;

// A paging scroll view that watches its own offsets the way a panel screen does: after a
// release, the first offset within 5% of a page past a whole page counts as reaching that page,
// once per swipe.
class PanelScrollView : public ScrollView, public ScrollViewDelegate {
 public:
  static constexpr double kPage = 321;

  PanelScrollView() : ScrollView(Rect{0, 0, kPage, 369}) {
    setPagingEnabled(true);
    setDelegate(this);
  }

  void scrollViewDidScroll(ScrollView& scrollView) override {
    offsets.push_back(scrollView.contentOffset().x);
    events.push_back("scroll");
    if (!watching) return;
    const double page = static_cast<double>(static_cast<float>(scrollView.contentOffset().x) /
                                            static_cast<float>(kPage));
    if (std::fabs(page - std::trunc(page)) < 0.05) {
      watching = false;
      reached.push_back(page < 0 ? 0 : static_cast<int>(std::trunc(page)));
      reachedAt.push_back(scrollView.contentOffset().x);
    }
  }
  void scrollViewWillBeginDragging(ScrollView&) override { events.push_back("drag"); }
  void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
    events.push_back(decelerate ? "release-glide" : "release-stop");
  }
  void scrollViewWillBeginDecelerating(ScrollView&) override {
    events.push_back("glide");
    watching = true;
  }
  void scrollViewDidEndDecelerating(ScrollView&) override { events.push_back("rest"); }

  std::vector<double> offsets;
  std::vector<std::string> events;
  std::vector<int> reached;
  std::vector<double> reachedAt;
  bool watching = false;
};

class ScrollViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    panels.setContentSize({5 * PanelScrollView::kPage, 369});
    window().addSubview(panels);
  }

  // The events with runs of "scroll" folded into one.
  std::vector<std::string> phases() const {
    std::vector<std::string> folded;
    for (const std::string& event : panels.events) {
      if (event == "scroll" && !folded.empty() && folded.back() == "scroll") continue;
      folded.push_back(event);
    }
    return folded;
  }

  PanelScrollView panels;
  Finger finger;
};

TEST_F(ScrollViewTest, ASwipeDragsReleasesAndGlidesToRestOnAWholePage) {
  panels.setContentOffset({642, 0});
  panels.events.clear();
  panels.offsets.clear();
  ASSERT_TRUE(finger.swipe(panels, {720, 0}).ok());

  EXPECT_EQ(phases(), (std::vector<std::string>{"drag", "scroll", "release-glide", "glide",
                                                "scroll", "rest"}));
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 963);
  // Dragging moves a little at a time; gliding approaches the page from below, slowing down.
  EXPECT_LE(panels.offsets.front() - 642, Finger::kDragStep);
  for (std::size_t i = 1; i < panels.offsets.size(); ++i) {
    EXPECT_GT(panels.offsets[i], panels.offsets[i - 1]);
  }
  EXPECT_DOUBLE_EQ(panels.offsets.back(), 963);
  // The page is reached exactly at rest: 962 and a bit (p just under 3) does not count.
  EXPECT_EQ(panels.reached, (std::vector<int>{3}));
  EXPECT_DOUBLE_EQ(panels.reachedAt.front(), 963);
  EXPECT_GT(panels.offsets[panels.offsets.size() - 2], 962);
}

TEST_F(ScrollViewTest, OvershootingAndGoingBackReachThePageWithinTheWindowAboveIt) {
  panels.setContentOffset({963, 0});
  ASSERT_TRUE(finger.swipe(panels, {975, 0}).ok());  // a little past page 3, back from above
  ASSERT_EQ(panels.reached.size(), 1u);
  EXPECT_EQ(panels.reached[0], 3);
  EXPECT_GE(panels.reachedAt[0], 963);
  EXPECT_LT(panels.reachedAt[0], 963 + 0.05 * 321);
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 963);

  ASSERT_TRUE(finger.swipe(panels, {900, 0}).ok());  // back towards page 2
  ASSERT_EQ(panels.reached.size(), 2u);
  EXPECT_EQ(panels.reached[1], 2);
  EXPECT_GE(panels.reachedAt[1], 642);
  EXPECT_LT(panels.reachedAt[1], 642 + 0.05 * 321);
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 642);
}

TEST_F(ScrollViewTest, ASmallDragSnapsBackAndTheEdgesHold) {
  panels.setContentOffset({321, 0});
  ASSERT_TRUE(finger.swipe(panels, {330, 0}).ok());  // under a tenth of a page
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 321);
  EXPECT_EQ(panels.reached, (std::vector<int>{1}));
  ASSERT_TRUE(finger.swipe(panels, {-500, 0}).ok());
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 0);
  ASSERT_TRUE(finger.swipe(panels, {9999, 0}).ok());
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 321);  // one page per swipe
  ASSERT_TRUE(finger.swipe(panels, {5000, 0}).ok());
  ASSERT_TRUE(finger.swipe(panels, {5000, 0}).ok());
  ASSERT_TRUE(finger.swipe(panels, {5000, 0}).ok());
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 4 * 321);  // the last page
}

TEST_F(ScrollViewTest, SettingTheOffsetTellsTheDelegateOnlyWhenItChanges) {
  panels.setContentOffset({321, 0});
  panels.setContentOffset({321, 0});
  EXPECT_EQ(panels.offsets, (std::vector<double>{321}));
  // Set by code, the offset is not clamped, as on the device.
  panels.setContentOffset({99999, 0});
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 99999);
  panels.setContentOffset({NAN, 0});
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 0);
}

TEST_F(ScrollViewTest, ReportedPhasesReachTheDelegateAndAnOffPageRestIsCorrected) {
  ASSERT_TRUE(finger.scroll(panels, {40, 0}, ScrollPhase::kDragging).ok());
  ASSERT_TRUE(finger.scroll(panels, {200, 0}, ScrollPhase::kDragging).ok());
  ASSERT_TRUE(finger.scroll(panels, {280, 0}, ScrollPhase::kDecelerating).ok());
  ASSERT_TRUE(finger.scroll(panels, {300, 0}, ScrollPhase::kEnded).ok());
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 321);
  EXPECT_EQ(phases(), (std::vector<std::string>{"drag", "scroll", "release-glide", "glide",
                                                "scroll", "rest"}));
  EXPECT_EQ(panels.reached, (std::vector<int>{1}));
}

// Rebuilds its panels when a page is reached, putting the content on a page of its choosing.
class RebuildingPanels : public PanelScrollView {
 public:
  void scrollViewDidScroll(ScrollView& scrollView) override {
    const std::size_t before = reached.size();
    PanelScrollView::scrollViewDidScroll(scrollView);
    if (reached.size() > before) scrollView.setContentOffset({rebuiltOffset, 0});
  }
  double rebuiltOffset = 0;
};

TEST_F(ScrollViewTest, ContentMovedByCodeDuringAGlideStopsTheGlide) {
  RebuildingPanels rebuilding;
  rebuilding.setContentSize({5 * PanelScrollView::kPage, 369});
  window().addSubview(rebuilding);
  rebuilding.setContentOffset({963, 0});
  rebuilding.rebuiltOffset = 963;
  ASSERT_TRUE(finger.swipe(rebuilding, {975, 0}).ok());
  EXPECT_EQ(rebuilding.reached, (std::vector<int>{3}));
  EXPECT_DOUBLE_EQ(rebuilding.contentOffset().x, 963);
  EXPECT_FALSE(rebuilding.isDecelerating());
  // The glide ended at the rebuild: no later offsets from the finger.
  EXPECT_DOUBLE_EQ(rebuilding.offsets.back(), 963);

  rebuilding.rebuiltOffset = 0;
  ASSERT_TRUE(finger.swipe(rebuilding, {1100, 0}).ok());
  EXPECT_DOUBLE_EQ(rebuilding.contentOffset().x, 0);
}

TEST_F(ScrollViewTest, WithoutPagingTheContentStopsWhereReleased) {
  panels.setPagingEnabled(false);
  ASSERT_TRUE(finger.swipe(panels, {100, 0}).ok());
  EXPECT_DOUBLE_EQ(panels.contentOffset().x, 100);
  EXPECT_EQ(phases(), (std::vector<std::string>{"drag", "scroll", "release-stop"}));
  panels.setScrollEnabled(false);
  EXPECT_EQ(finger.swipe(panels, {200, 0}).code(), Status::Code::kInvalidArgument);
  ScrollView offScreen(Rect{0, 0, 10, 10});
  EXPECT_EQ(finger.swipe(offScreen, {5, 0}).code(), Status::Code::kNotFound);
}

}  // namespace
}  // namespace kinetra
