#include "graphics/DrawingContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "graphics/PictureDecoder.h"

namespace kinetra {
namespace {

constexpr double kScale = 2;
constexpr uint8_t kShadowAlpha = 85;  // black at one third

DrawingContext graphContext() {
  return std::move(DrawingContext::create(480, 320, kScale)).value();
}

// The pixel under a point, in a picture drawn at kScale.
Rgba at(const Picture& picture, double x, double y) {
  return picture.pixelAt(int(x * kScale), int(y * kScale));
}

bool transparent(Rgba p) { return p.a == 0; }

// The ink box of a picture region, in device pixels.
struct Ink {
  int left = std::numeric_limits<int>::max(), top = std::numeric_limits<int>::max();
  int right = -1, bottom = -1;
};
Ink inkOf(const Picture& picture) {
  Ink ink;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixelAt(x, y).a == 0) continue;
      ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

TEST(DrawingContextTest, RendersAtTheScaleAndStartsTransparent) {
  DrawingContext context = graphContext();
  EXPECT_EQ(context.pixelWidth(), 960);
  EXPECT_EQ(context.pixelHeight(), 640);
  const Picture picture = context.picture();
  EXPECT_EQ(picture.width(), 960);
  EXPECT_EQ(inkOf(picture).right, -1);

  EXPECT_FALSE(DrawingContext::create(0, 320, 2).ok());
  EXPECT_FALSE(DrawingContext::create(480, 320, 0).ok());
  EXPECT_FALSE(DrawingContext::create(std::nan(""), 320, 2).ok());
  EXPECT_EQ(DrawingContext::create(20000, 10, 1).status().code(), Status::Code::kTooLarge);
}

TEST(DrawingContextTest, FillRectCoversExactlyItsPoints) {
  DrawingContext context = graphContext();
  context.setGrayFillColor(0.168, 1);
  context.fillRect({0, 241, 480, 320});  // runs past the bottom edge
  context.setRGBFillColor(1, 0, 0, 1);
  context.fillRect({10, 20, 30, 40});
  const Picture picture = context.picture();
  EXPECT_EQ(at(picture, 10, 20), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(at(picture, 39.9, 59.9), (Rgba{255, 0, 0, 255}));
  EXPECT_TRUE(transparent(at(picture, 9.9, 30)));
  EXPECT_TRUE(transparent(at(picture, 40, 30)));
  EXPECT_TRUE(transparent(at(picture, 20, 60)));
  EXPECT_EQ(at(picture, 200, 241), (Rgba{43, 43, 43, 255}));
  EXPECT_EQ(at(picture, 479.9, 319.9), (Rgba{43, 43, 43, 255}));
  EXPECT_TRUE(transparent(at(picture, 200, 240.9)));
}

TEST(DrawingContextTest, ClearRectMakesItsAreaTransparentWithoutShadow) {
  DrawingContext context = graphContext();
  context.setGrayFillColor(1, 1);
  context.fillRect({0, 0, 480, 320});
  context.setShadow(0, -4, 2);
  context.clearRect({100, 100, 50, 50});
  const Picture picture = context.picture();
  EXPECT_TRUE(transparent(at(picture, 100, 100)));
  EXPECT_TRUE(transparent(at(picture, 149.9, 149.9)));
  // Next to and below the cleared area nothing darkened.
  EXPECT_EQ(at(picture, 125, 152), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(at(picture, 99, 125), (Rgba{255, 255, 255, 255}));
}

TEST(DrawingContextTest, StrokePathDrawsTheLinesThenForgetsThePath) {
  DrawingContext context = graphContext();
  context.setRGBStrokeColor(0.58, 0.78, 1.0, 1);
  context.setLineWidth(3);
  context.moveToPoint(110, 100);
  context.addLineToPoint(160, 100);
  context.addLineToPoint(160, 200);
  context.strokePath();
  context.setGrayStrokeColor(0.25, 1);
  context.strokePath();  // nothing left to stroke
  const Picture picture = context.picture();
  const Rgba blue{148, 199, 255, 255};
  EXPECT_EQ(at(picture, 130, 100), blue);
  EXPECT_EQ(at(picture, 130, 98.6), blue);
  EXPECT_TRUE(transparent(at(picture, 130, 98.4)));  // 1.5 points each side
  EXPECT_TRUE(transparent(at(picture, 130, 101.6)));
  EXPECT_EQ(at(picture, 160, 150), blue);
  EXPECT_TRUE(transparent(at(picture, 100, 100)));  // before the start

  DrawingContext orphan = graphContext();
  orphan.addLineToPoint(300, 300);  // no current point: ignored
  orphan.strokePath();
  EXPECT_EQ(inkOf(orphan.picture()).right, -1);
}

TEST(DrawingContextTest, LineWidthSetsTheThicknessInPoints) {
  for (double width : {1.0, 3.0, 6.0}) {  // whole device pixels each side of y 200
    DrawingContext context = graphContext();
    context.setLineWidth(width);
    context.moveToPoint(0, 100);
    context.addLineToPoint(480, 100);
    context.strokePath();
    const Ink ink = inkOf(context.picture());
    EXPECT_EQ(ink.bottom - ink.top + 1, int(std::ceil(width * kScale))) << width;
  }
}

TEST(DrawingContextTest, FillEllipseInRectStaysInsideItsRect) {
  DrawingContext context = graphContext();
  context.setGrayFillColor(0.8, 1);
  context.fillEllipseInRect({108, 198, 5, 5});
  context.fillEllipseInRect({200, 100, 40, 20});
  const Picture picture = context.picture();
  EXPECT_EQ(at(picture, 110.5, 200.5), (Rgba{204, 204, 204, 255}));
  EXPECT_EQ(at(picture, 220, 110), (Rgba{204, 204, 204, 255}));
  EXPECT_EQ(at(picture, 201, 110).a, 255);              // near the left end of the long axis
  EXPECT_TRUE(transparent(at(picture, 200.5, 100.5)));  // corners of the rect stay empty
  EXPECT_TRUE(transparent(at(picture, 239.5, 119.5)));
  const Ink ink = inkOf(picture);
  EXPECT_GE(ink.left, 108 * 2);
  EXPECT_LE(ink.right, 240 * 2);
  EXPECT_GE(ink.top, 100 * 2);
  EXPECT_LE(ink.bottom, 203 * 2);
}

TEST(DrawingContextTest, TextHangsFromItsPointInTheFillColour) {
  DrawingContext context = graphContext();
  context.setGrayFillColor(0.8, 1);
  context.drawAtPoint("0", {61, 247}, Font::systemFontOfSize(11));
  const Picture picture = context.picture();
  const Ink ink = inkOf(picture);
  ASSERT_GE(ink.right, 0);
  // Top left at the point: the glyph starts just right of x and below y, within the line.
  EXPECT_GE(ink.left, 61 * 2);
  EXPECT_LE(ink.left, 63 * 2);
  EXPECT_GE(ink.top, 247 * 2);
  EXPECT_LE(ink.top, 250 * 2);
  EXPECT_LE(ink.bottom, (247 + 11) * 2);
  EXPECT_GE(ink.bottom - ink.top, 11);  // a digit is most of the font size tall
  std::set<uint8_t> opaqueGrays;
  for (int y = ink.top; y <= ink.bottom; ++y) {
    for (int x = ink.left; x <= ink.right; ++x) {
      if (picture.pixelAt(x, y).a == 255) opaqueGrays.insert(picture.pixelAt(x, y).r);
    }
  }
  EXPECT_EQ(opaqueGrays, (std::set<uint8_t>{204}));

  DrawingContext longer = graphContext();
  longer.drawAtPoint("10000", {61, 247}, Font::systemFontOfSize(11));
  EXPECT_GT(inkOf(longer.picture()).right, ink.right + 20);
}

TEST(DrawingContextTest, HostileArgumentsLeaveTheContextWorking) {
  DrawingContext context = graphContext();
  const double nan = std::nan("");
  context.drawAtPoint("bad \xff\xfe utf-8 \xc0\xaf and \0 nul", {10, 10},
                      Font::systemFontOfSize(11));
  context.fillRect({nan, 0, 10, 10});
  context.setShadow(nan, 0, 1);
  context.setLineWidth(-5);
  context.moveToPoint(0, 0);
  context.addLineToPoint(1e300, -1e300);
  context.strokePath();  // width 0: nothing
  context.fillEllipseInRect({50, 50, 0, 10});
  context.setRGBFillColor(2, -1, 0.5, 7);  // clamped to 1, 0, 0.5, 1
  context.fillRect({300, 200, 10, 10});
  const Picture picture = context.picture();
  EXPECT_EQ(at(picture, 305, 205), (Rgba{255, 0, 128, 255}));
  // The text was drawn, replacement marks and all (U+FFFD rises a little above the ascent).
  EXPECT_GE(inkOf(picture).top, 9 * 2);
  EXPECT_LE(inkOf(picture).top, 14 * 2);
  EXPECT_GE(inkOf(picture).right, 100 * 2);
}

TEST(DrawingContextTest, PngDataDecodesToTheSamePixels) {
  DrawingContext context = graphContext();
  context.setRGBFillColor(0.2, 0.4, 0.6, 0.5);
  context.fillEllipseInRect({10, 10, 100, 60});
  Result<std::vector<uint8_t>> png = context.pngData();
  ASSERT_TRUE(png.ok());
  Result<Picture> decoded = decodePicture(*png);
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(decoded->rgba(), context.picture().rgba());
}

// Shadows: measured on a transparent canvas, where a shadow pixel is black with some alpha.

TEST(DrawingContextTest, NoShadowBeforeOneIsSetOrAfterItIsTurnedOff) {
  for (bool turnedOff : {false, true}) {
    DrawingContext context = graphContext();
    if (turnedOff) {
      context.setShadow(0, -4, 1);
      context.setShadow(0, 0, 0);
    }
    context.setGrayFillColor(1, 1);
    context.fillRect({100, 100, 50, 50});
    const Ink ink = inkOf(context.picture());
    EXPECT_EQ(ink.top, 200);
    EXPECT_EQ(ink.bottom, 299);
    EXPECT_EQ(ink.left, 200);
    EXPECT_EQ(ink.right, 299);
  }
}

TEST(DrawingContextTest, NegativeDyPutsTheShadowBelow) {
  DrawingContext context = graphContext();
  context.setShadow(0, -4, 0);
  context.setGrayFillColor(1, 1);
  context.fillRect({100, 100, 50, 50});
  const Picture picture = context.picture();
  EXPECT_EQ(at(picture, 125, 125), (Rgba{255, 255, 255, 255}));  // the shape on top
  EXPECT_EQ(at(picture, 125, 150), (Rgba{0, 0, 0, kShadowAlpha}));
  EXPECT_EQ(at(picture, 125, 153.9), (Rgba{0, 0, 0, kShadowAlpha}));
  EXPECT_TRUE(transparent(at(picture, 125, 154)));
  EXPECT_TRUE(transparent(at(picture, 125, 99.5)));   // nothing above
  EXPECT_TRUE(transparent(at(picture, 150.5, 125)));  // nor beside

  DrawingContext right = graphContext();
  right.setShadow(3, 0, 0);
  right.fillRect({100, 100, 50, 50});
  EXPECT_EQ(at(right.picture(), 152, 125), (Rgba{0, 0, 0, kShadowAlpha}));
  EXPECT_TRUE(transparent(at(right.picture(), 99.5, 125)));
}

TEST(DrawingContextTest, BlurSoftensTheShadowEdgeWithAFalloff) {
  DrawingContext context = graphContext();
  context.setShadow(0, -10, 6);
  context.setGrayFillColor(1, 1);
  context.fillRect({100, 100, 50, 50});
  const Picture picture = context.picture();
  // Down the middle column from the shape's bottom edge to well past the shadow's.
  std::set<uint8_t> levels;
  uint8_t previous = 255;
  for (int y = 300; y < 360; ++y) {
    const Rgba p = picture.pixelAt(250, y);
    EXPECT_EQ(p.r, 0);
    EXPECT_LE(p.a, previous) << y;
    previous = p.a;
    levels.insert(p.a);
  }
  EXPECT_EQ(picture.pixelAt(250, 302).a, kShadowAlpha);  // full shadow under the middle
  EXPECT_EQ(picture.pixelAt(250, 359).a, 0);
  EXPECT_GE(levels.size(), 8u);  // a ramp, not a step
  // The blur reaches a little above the shape, but not as far as it reaches below.
  EXPECT_TRUE(transparent(at(picture, 125, 97)));
}

TEST(DrawingContextTest, ShadowFollowsStrokesEllipsesAndText) {
  DrawingContext context = graphContext();
  context.setShadow(0, -4, 0);
  context.setGrayStrokeColor(1, 1);
  context.setLineWidth(2);
  context.moveToPoint(10, 50);
  context.addLineToPoint(200, 50);
  context.strokePath();
  context.setGrayFillColor(1, 1);
  context.fillEllipseInRect({300, 40, 20, 20});
  context.drawAtPoint("8", {400, 40}, Font::systemFontOfSize(30));
  const Picture picture = context.picture();
  EXPECT_EQ(at(picture, 100, 54.5), (Rgba{0, 0, 0, kShadowAlpha}));
  EXPECT_TRUE(transparent(at(picture, 100, 48.5)));
  EXPECT_EQ(at(picture, 310, 63), (Rgba{0, 0, 0, kShadowAlpha}));
  EXPECT_TRUE(transparent(at(picture, 310, 39.5)));
  // Somewhere below the text's lowest ink there is shadow.
  bool textShadow = false;
  for (int x = 800; x < 860; ++x) {
    for (int y = 0; y < 200; ++y) {
      const Rgba p = picture.pixelAt(x, y);
      if (p.a == kShadowAlpha && p.r == 0) textShadow = true;
    }
  }
  EXPECT_TRUE(textShadow);
}

TEST(DrawingContextTest, ShadowOfATranslucentShapeIsLighter) {
  DrawingContext context = graphContext();
  context.setShadow(20, 0, 0);
  context.setGrayFillColor(1, 0.5);
  context.fillRect({100, 100, 10, 10});
  EXPECT_NEAR(at(context.picture(), 125, 105).a, 43, 1);
}

TEST(DrawingContextTest, ShapeOffTheCanvasStillCastsItsShadowOntoIt) {
  DrawingContext context = graphContext();
  context.setShadow(0, -10, 0);
  context.setGrayFillColor(1, 1);
  context.fillRect({100, -20, 50, 18});  // ends 2 points above the canvas
  const Picture picture = context.picture();
  EXPECT_EQ(at(picture, 125, 0), (Rgba{0, 0, 0, kShadowAlpha}));
  EXPECT_EQ(at(picture, 125, 7.9), (Rgba{0, 0, 0, kShadowAlpha}));
  EXPECT_TRUE(transparent(at(picture, 125, 8)));
}

}  // namespace
}  // namespace kinetra
