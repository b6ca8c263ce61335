#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "UiTestSupport.h"
#include "graphics/DrawingContext.h"
#include "ui/Finger.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace kinetra {
namespace {

using test::UiTest;

class ViewTest : public UiTest {};

std::vector<const View*> order(const View& view) {
  return {view.subviews().begin(), view.subviews().end()};
}

TEST_F(ViewTest, AddPutsInFrontAndBringSendAndReAddReorder) {
  View parent(Rect{0, 0, 100, 100});
  View a, b, c;
  parent.addSubview(a);
  parent.addSubview(b);
  parent.addSubview(c);
  EXPECT_EQ(order(parent), (std::vector<const View*>{&a, &b, &c}));
  parent.bringSubviewToFront(a);
  EXPECT_EQ(order(parent), (std::vector<const View*>{&b, &c, &a}));
  parent.sendSubviewToBack(c);
  EXPECT_EQ(order(parent), (std::vector<const View*>{&c, &b, &a}));
  parent.addSubview(c);  // already there: moves to the front
  EXPECT_EQ(order(parent), (std::vector<const View*>{&b, &a, &c}));
  parent.insertSubview(c, 0);
  EXPECT_EQ(order(parent), (std::vector<const View*>{&c, &b, &a}));
  View stranger;
  parent.bringSubviewToFront(stranger);  // not a subview: nothing happens
  EXPECT_EQ(parent.subviews().size(), 3u);
  b.removeFromSuperview();
  EXPECT_EQ(order(parent), (std::vector<const View*>{&c, &a}));
  EXPECT_EQ(b.superview(), nullptr);
}

TEST_F(ViewTest, AddingMovesAViewFromItsOldSuperviewAndRefusesCycles) {
  View first, second, child;
  first.addSubview(child);
  second.addSubview(child);
  EXPECT_TRUE(first.subviews().empty());
  EXPECT_EQ(child.superview(), &second);
  child.addSubview(second);  // second is child's ancestor
  EXPECT_TRUE(child.subviews().empty());
  child.addSubview(child);
  EXPECT_TRUE(child.subviews().empty());
}

TEST_F(ViewTest, OwnedSubviewsLiveWithTheirSuperviewAndMoveWithOwnership) {
  auto parent = std::make_unique<View>();
  Label& label = parent->addSubview(std::make_unique<Label>());
  WeakRef<View> watched(&label);
  View other;
  other.addSubview(label);  // ownership moves along
  parent.reset();
  ASSERT_TRUE(watched);
  EXPECT_EQ(label.superview(), &other);

  std::unique_ptr<View> back = label.removeFromSuperview();
  EXPECT_EQ(back.get(), &label);
  back.reset();
  EXPECT_FALSE(watched);
  EXPECT_TRUE(other.subviews().empty());
}

TEST_F(ViewTest, DestroyingAViewDetachesItInBothDirections) {
  View parent;
  View kept;
  {
    View middle;
    parent.addSubview(middle);
    middle.addSubview(kept);
    EXPECT_EQ(parent.subviews().size(), 1u);
  }
  EXPECT_TRUE(parent.subviews().empty());
  EXPECT_EQ(kept.superview(), nullptr);
  // A view someone else owns is only unlinked when its superview goes.
  auto container = std::make_unique<View>();
  container->addSubview(kept);
  container.reset();
  EXPECT_EQ(kept.superview(), nullptr);
}

TEST_F(ViewTest, FrameCentreAndRotationAgree) {
  View view(Rect{10, 20, 100, 50});
  EXPECT_DOUBLE_EQ(view.center().x, 60);
  EXPECT_DOUBLE_EQ(view.center().y, 45);
  view.setCenter({160, 240});
  EXPECT_DOUBLE_EQ(view.frame().x, 110);
  EXPECT_DOUBLE_EQ(view.frame().y, 215);
  view.setTransform(AffineTransform::makeRotation(std::numbers::pi / 2));
  // Turned a quarter: the box around it is 50 wide and 100 high about the same centre.
  EXPECT_NEAR(view.frame().width, 50, 1e-9);
  EXPECT_NEAR(view.frame().height, 100, 1e-9);
  EXPECT_NEAR(view.frame().x, 135, 1e-9);
  EXPECT_DOUBLE_EQ(view.bounds().width, 100);
}

TEST_F(ViewTest, PointConversionFollowsOffsetsAndRotation) {
  View outer(Rect{10, 10, 200, 200});
  View inner(Rect{20, 30, 50, 40});
  window().addSubview(outer);
  outer.addSubview(inner);
  const Point inWindow = inner.convertPointToView({0, 0}, nullptr);
  EXPECT_DOUBLE_EQ(inWindow.x, 30);
  EXPECT_DOUBLE_EQ(inWindow.y, 40);
  const Point back = inner.convertPointFromView({30, 40}, nullptr);
  EXPECT_NEAR(back.x, 0, 1e-9);
  EXPECT_NEAR(back.y, 0, 1e-9);

  // A 480 × 320 view turned a quarter about the screen's centre: its top left corner lands at
  // the screen's top right.
  View landscape(Rect{0, 0, 480, 320});
  landscape.setCenter({160, 240});
  landscape.setTransform(AffineTransform::makeRotation(std::numbers::pi / 2));
  window().addSubview(landscape);
  const Point corner = landscape.convertPointToView({0, 0}, nullptr);
  EXPECT_NEAR(corner.x, 320, 1e-9);
  EXPECT_NEAR(corner.y, 0, 1e-9);
  const Point local = landscape.convertPointFromView({300, 100}, nullptr);
  EXPECT_NEAR(local.x, 100, 1e-9);
  EXPECT_NEAR(local.y, 20, 1e-9);
}

// Records the touches it gets.
class TouchRecorder : public View {
 public:
  using View::View;
  void touchesBegan(const std::vector<Touch>& touches, const Event&) override {
    ++began;
    tapCount = touches.front().tapCount();
    location = touches.front().locationInView(*this);
  }
  void touchesEnded(const std::vector<Touch>&, const Event&) override { ++ended; }
  int began = 0;
  int ended = 0;
  int tapCount = 0;
  Point location;
};

TEST_F(ViewTest, HitTestingSkipsHiddenNonInteractiveAndTransparentViews) {
  TouchRecorder back(Rect{0, 0, 320, 480});
  TouchRecorder front(Rect{0, 0, 100, 100});
  window().addSubview(back);
  window().addSubview(front);
  Finger finger;

  ASSERT_TRUE(finger.tap({50, 50}, 2).ok());
  EXPECT_EQ(front.began, 1);
  EXPECT_EQ(front.ended, 1);
  EXPECT_EQ(front.tapCount, 2);
  EXPECT_DOUBLE_EQ(front.location.x, 50);

  front.setHidden(true);
  ASSERT_TRUE(finger.tap({50, 50}).ok());
  EXPECT_EQ(back.began, 1);

  front.setHidden(false);
  front.setUserInteractionEnabled(false);
  ASSERT_TRUE(finger.tap({50, 50}).ok());
  EXPECT_EQ(back.began, 2);

  front.setUserInteractionEnabled(true);
  front.setAlpha(0);
  ASSERT_TRUE(finger.tap({50, 50}).ok());
  EXPECT_EQ(back.began, 3);
  EXPECT_EQ(front.began, 1);

  // A child of a view that takes no touches takes none either, and a child outside its
  // parent's bounds cannot be reached.
  front.setAlpha(1);
  TouchRecorder child(Rect{10, 10, 20, 20});
  TouchRecorder outside(Rect{150, 150, 20, 20});
  front.addSubview(child);
  front.addSubview(outside);
  front.setUserInteractionEnabled(false);
  ASSERT_TRUE(finger.tap({15, 15}).ok());
  EXPECT_EQ(child.began, 0);
  front.setUserInteractionEnabled(true);
  ASSERT_TRUE(finger.tap({15, 15}).ok());
  EXPECT_EQ(child.began, 1);
  ASSERT_TRUE(finger.tap({155, 155}).ok());
  EXPECT_EQ(outside.began, 0);
  EXPECT_EQ(back.began, 5);
}

TEST_F(ViewTest, UnhandledTouchesTravelUpTheResponderChain) {
  TouchRecorder parent(Rect{0, 0, 200, 200});
  window().addSubview(parent);
  Label label(Rect{0, 0, 50, 50});  // takes no touches: the parent is hit
  label.setUserInteractionEnabled(true);
  parent.addSubview(label);
  Finger finger;
  ASSERT_TRUE(finger.tap({10, 10}).ok());
  EXPECT_EQ(parent.began, 1);  // the label passed the touch on
}

TEST_F(ViewTest, TappingOffScreenViewsFails) {
  View alone(Rect{0, 0, 10, 10});
  Finger finger;
  EXPECT_EQ(finger.tap(alone).code(), Status::Code::kNotFound);
  EXPECT_EQ(finger.tap({500, 500}).code(), Status::Code::kNotFound);
}

TEST_F(ViewTest, ImagesAreSizedFromTheirBytesAndBadBytesGiveAnEmptyPicture) {
  const Image picture = Image::fromBytes(test::pngBytes(35, 40));
  ASSERT_FALSE(picture.empty());
  EXPECT_DOUBLE_EQ(picture.size().width, 35);
  EXPECT_DOUBLE_EQ(picture.size().height, 40);
  ImageView view(picture);
  EXPECT_DOUBLE_EQ(view.frame().width, 35);
  EXPECT_DOUBLE_EQ(view.frame().height, 40);
  EXPECT_EQ(Image::fromBytes(test::pngBytes(35, 40)).identifier(), picture.identifier());

  EXPECT_TRUE(Image::fromBytes({1, 2, 3}).empty());
  EXPECT_TRUE(Image::fromBytes({}).empty());
  EXPECT_TRUE(Image::contentsOfFile("/nonexistent/picture.jpg").empty());
  EXPECT_TRUE(Image::contentsOfFile("/").empty());
  ImageView empty(Image{});
  EXPECT_DOUBLE_EQ(empty.frame().width, 0);
}

// A custom view that draws a filled square.
class Square : public View {
 public:
  using View::View;
  bool drawsContent() const override { return true; }
  void drawRect(DrawingContext& context, Rect rect) override {
    ++draws;
    context.setGrayFillColor(0.5, 1);
    context.fillRect(rect);
  }
  int draws = 0;
};

TEST_F(ViewTest, CustomViewsDrawTheirContentIntoAPictureOfTheirSize) {
  Square square(Rect{0, 0, 48, 32});
  const std::uint64_t before = square.displayGeneration();
  square.setNeedsDisplay();
  EXPECT_GT(square.displayGeneration(), before);
  const Image picture = square.renderContent(1);
  ASSERT_FALSE(picture.empty());
  EXPECT_DOUBLE_EQ(picture.size().width, 48);
  EXPECT_DOUBLE_EQ(picture.size().height, 32);
  EXPECT_EQ(square.draws, 1);
  EXPECT_TRUE(View(Rect{0, 0, 10, 10}).renderContent().empty());  // draws nothing
  Square flat(Rect{0, 0, 10, 0});
  EXPECT_TRUE(flat.renderContent().empty());
  EXPECT_EQ(flat.draws, 0);
}

TEST_F(ViewTest, BadGeometryIsSanitised) {
  View view(Rect{0, 0, -5, NAN});
  EXPECT_DOUBLE_EQ(view.bounds().width, 0);
  EXPECT_DOUBLE_EQ(view.bounds().height, 0);
  view.setAlpha(NAN);
  EXPECT_DOUBLE_EQ(view.alpha(), 0);
  view.setAlpha(7);
  EXPECT_DOUBLE_EQ(view.alpha(), 1);
  view.setCenter({INFINITY, 3});
  EXPECT_DOUBLE_EQ(view.center().x, 0);
}

}  // namespace
}  // namespace kinetra
