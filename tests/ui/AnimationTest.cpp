#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "foundation/ManualClock.h"
#include "ui/View.h"

namespace kinetra {
namespace {

class AnimationTest : public test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    application().setClock(&clock);
  }
  void TearDown() override {
    application().setClock(nullptr);
    UiTest::TearDown();
  }

  ManualClock clock{Date(1000)};
};

TEST_F(AnimationTest, ATransitionBlockIsRecordedOnItsViewAndStopsAfterItsDuration) {
  View card(Rect{0, 0, 320, 367});
  View front, back;
  card.addSubview(front);
  std::vector<std::string> stopped;

  View::beginAnimations("turn");
  View::setAnimationDuration(0.75);
  View::setAnimationDidStop([&](const std::string& id, bool finished) {
    stopped.push_back(id + (finished ? " finished" : " cut short"));
  });
  View::setAnimationTransition(AnimationTransition::kFlipFromRight, card);
  front.removeFromSuperview();
  card.addSubview(back);
  View::commitAnimations();

  // The change is made at once; only its look is recorded.
  EXPECT_EQ(card.subviews(), (std::vector<View*>{&back}));
  ASSERT_TRUE(card.lastAnimation().has_value());
  EXPECT_EQ(card.lastAnimation()->kind, AnimationRecord::Kind::kTransition);
  EXPECT_EQ(card.lastAnimation()->transition, AnimationTransition::kFlipFromRight);
  EXPECT_DOUBLE_EQ(card.lastAnimation()->duration, 0.75);
  EXPECT_EQ(card.lastAnimation()->transactionId, "turn");

  clock.advance(0.74);
  EXPECT_TRUE(stopped.empty());
  clock.advance(0.02);
  EXPECT_EQ(stopped, (std::vector<std::string>{"turn finished"}));
  clock.advance(10);
  EXPECT_EQ(stopped.size(), 1u);
}

TEST_F(AnimationTest, AlphaChangesInsideABlockAreAnimatedAndOutsideAreNot) {
  View graph(Rect{0, 0, 480, 320});
  graph.setAlpha(0);  // outside a block: no animation
  EXPECT_FALSE(graph.lastAnimation().has_value());
  graph.setTransform(AffineTransform::makeRotation(std::numbers::pi / 2));

  View::beginAnimations();
  View::setAnimationDuration(0.75);
  graph.setAlpha(0.5);
  graph.setAlpha(1);  // one animation from where the block found it
  View::commitAnimations();

  EXPECT_DOUBLE_EQ(graph.alpha(), 1);
  ASSERT_TRUE(graph.lastAnimation().has_value());
  EXPECT_EQ(graph.lastAnimation()->kind, AnimationRecord::Kind::kAlpha);
  EXPECT_DOUBLE_EQ(graph.lastAnimation()->fromAlpha, 0);
  EXPECT_DOUBLE_EQ(graph.lastAnimation()->toAlpha, 1);
  EXPECT_DOUBLE_EQ(graph.lastAnimation()->duration, 0.75);

  const std::vector<AnimationRecord> records = application().animations().takeRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].view, graph.identifier());
  EXPECT_TRUE(application().animations().takeRecords().empty());
}

TEST_F(AnimationTest, AViewGoneBeforeTheCommitIsLeftOutAndStrayCallsAreHarmless) {
  View::commitAnimations();  // no block: nothing
  View::setAnimationDuration(3);
  bool stopped = false;
  View::beginAnimations("gone");
  View::setAnimationDuration(-4);  // counts as none
  View::setAnimationDidStop([&](const std::string&, bool) { stopped = true; });
  {
    View shortLived;
    View::setAnimationTransition(AnimationTransition::kCurlUp, shortLived);
    shortLived.setAlpha(0.2);
  }
  View::commitAnimations();
  EXPECT_TRUE(application().animations().records().empty());
  clock.advance(0);
  EXPECT_TRUE(stopped);
}

TEST_F(AnimationTest, WithoutAClockTheStopCallbackNeverRuns) {
  application().setClock(nullptr);
  bool stopped = false;
  View view;
  View::beginAnimations();
  View::setAnimationDidStop([&](const std::string&, bool) { stopped = true; });
  View::setAnimationTransition(AnimationTransition::kFlipFromLeft, view);
  View::commitAnimations();
  clock.advance(5);
  EXPECT_FALSE(stopped);
  EXPECT_TRUE(view.lastAnimation().has_value());
}

}  // namespace
}  // namespace kinetra
