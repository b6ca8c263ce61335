#include "graph/drawGraph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "app/AppTestSupport.h"
#include "graph/GraphPlot.h"
#include "graphics/DrawingContext.h"
#include "ui/Finger.h"

namespace kinetra::test {
namespace {

constexpr const char* kExercise = "Squat";

class GraphTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    writeSmallCatalogue();
    std::filesystem::copy_file(
        std::filesystem::path(KINETRA_TEST_SOURCE_DIR) / "resources" / "noGraph.jpg",
        resources() / "noGraph.jpg");
    launch();
    app().selection().selectedExercise = kExercise;
  }

  MainInterface& ui() { return app().interface(); }

  // The day string of January `day`, 2024 (day 32 is February 1, and so on).
  std::string january(int day) {
    return app().dayString(AppTest::day("Jan 1, 2024").addingTimeInterval((day - 1) * 86400.0));
  }

  // Logs one set per day of `weights`, each with `reps` repetitions, from January 1 on.
  void logDays(const std::vector<std::string>& weights, const std::string& reps = "5") {
    for (std::size_t i = 0; i < weights.size(); ++i) {
      logSets(january(static_cast<int>(i) + 1), {weights[i], reps, ""});
    }
  }

  void logSets(const std::string& day, PropertyList::Array strings) {
    PropertyList::Dictionary& log = app().userData().exerciseLog.asDictionary();
    auto [entries, added] = log.try_emplace(day, PropertyList::Dictionary{});
    (void)added;
    entries->second.asDictionary()[kExercise] = PropertyList(std::move(strings));
  }

  // What the graph shows now, from the shared state.
  GraphPlot plot() {
    app().createPreviousDates();
    return GraphPlot::make(
        {app().selection().previousDates, app().userData().exerciseLog,
         app().selection().selectedExercise, ui().graphDuration.selectedSegmentIndex(),
         ui().graphType.selectedSegmentIndex(), app().dateFormatter(), app().monthDayFormatter()});
  }

  // The graph as the screen draws it, one pixel per point, from the log as it is now (the
  // graph is handed a new plot whenever it is shown or its controls change).
  Picture draw() {
    app().updateGraph();
    Result<DrawingContext> context = DrawingContext::create(480, 320, 1);
    EXPECT_TRUE(context.ok());
    ui().graphView.drawRect(*context, ui().graphView.bounds());
    return context->picture();
  }

  // Shows the graph the way the exercise screen's graph segment does.
  void showGraph() {
    drawGraph& graph = ui().graphView;
    application().window().addSubview(graph);
    graph.setCenter({160, 240});
    graph.setTransform(AffineTransform::makeRotation(std::numbers::pi / 2));
    graph.setAlpha(1);
  }

  static bool isGray(Rgba pixel, int level) {
    return pixel.a == 255 && std::abs(pixel.r - level) <= 2 && pixel.r == pixel.g &&
           pixel.g == pixel.b;
  }
  static bool isLineBlue(Rgba pixel) {
    return pixel.a == 255 && std::abs(pixel.r - 148) <= 2 && std::abs(pixel.g - 199) <= 2 &&
           pixel.b == 255;
  }
};

std::vector<double> xs(const std::vector<Point>& points) {
  std::vector<double> result;
  for (const Point& point : points) result.push_back(point.x);
  return result;
}
std::vector<double> ys(const std::vector<Point>& points) {
  std::vector<double> result;
  for (const Point& point : points) result.push_back(point.y);
  return result;
}

TEST_F(GraphTest, ThreeDaysInTheSevenDayWindowRunDownToTheDateAxis) {
  logDays({"100 kg", "110 kg", "120 kg"});
  const GraphPlot shown = plot();

  const std::array<std::string, 7> labels = {"01/01",   "01/02",   "01/03",  "-- / --",
                                             "-- / --", "-- / --", "-- / --"};
  EXPECT_EQ(shown.dateLabels, labels);
  EXPECT_EQ(shown.step, 2);
  EXPECT_EQ(xs(shown.line), (std::vector<double>{110, 160, 210, 260, 310, 360, 410}));
  EXPECT_EQ(ys(shown.line), (std::vector<double>{220, 120, 20, 240, 240, 240, 240}));
  ASSERT_EQ(shown.dots.size(), 3u);
  EXPECT_EQ(shown.dots[2].x, 208);
  EXPECT_EQ(shown.dots[2].y, 16);

  const Picture picture = draw();
  // The three dots, filled in the text gray over the line.
  EXPECT_TRUE(isGray(picture.pixelAt(110, 218), 204));
  EXPECT_TRUE(isGray(picture.pixelAt(160, 118), 204));
  EXPECT_TRUE(isGray(picture.pixelAt(210, 18), 204));
  // The line from the third point down to (260, 240) and along the date axis.
  EXPECT_TRUE(isLineBlue(picture.pixelAt(235, 130)));
  EXPECT_TRUE(isLineBlue(picture.pixelAt(335, 240)));
  // No fourth dot: slot 3 is on the axis, not on the lowest grid line.
  EXPECT_FALSE(isGray(picture.pixelAt(260, 218), 204));
  // The band under the axis.
  EXPECT_TRUE(isGray(picture.pixelAt(5, 310), 43));
}

TEST_F(GraphTest, TenDaysShowTheSevenMostRecent) {
  logDays(
      {"10 kg", "20 kg", "30 kg", "40 kg", "50 kg", "60 kg", "70 kg", "80 kg", "90 kg", "100 kg"});
  const GraphPlot shown = plot();
  const std::array<std::string, 7> labels = {"01/04", "01/05", "01/06", "01/07",
                                             "01/08", "01/09", "01/10"};
  EXPECT_EQ(shown.dateLabels, labels);
  ASSERT_EQ(shown.values.size(), 7u);
  EXPECT_EQ(shown.values.front(), 40);
  EXPECT_EQ(shown.values.back(), 100);
  EXPECT_EQ(shown.valueLabels.front(), "40");
  EXPECT_EQ(shown.valueLabels.back(), "100");
  EXPECT_EQ(shown.dots.size(), 7u);
  EXPECT_EQ(ys(shown.line).back(), 20);
}

TEST_F(GraphTest, TwentyDaysInTheFourteenDayWindowLabelEverySecondDay) {
  std::vector<std::string> weights;
  for (int i = 1; i <= 20; ++i) weights.push_back(std::to_string(i) + " kg");
  logDays(weights);
  showGraph();
  ASSERT_TRUE(Finger().chooseSegment(ui().graphDuration, 1).ok());
  const GraphPlot shown = plot();

  EXPECT_EQ(shown.days, 14);
  const std::array<std::string, 7> labels = {"01/07", "01/09", "01/11", "01/13",
                                             "01/15", "01/17", "01/19"};
  EXPECT_EQ(shown.dateLabels, labels);
  ASSERT_EQ(shown.line.size(), 14u);
  EXPECT_EQ(shown.line[1].x - shown.line[0].x, 25);
  EXPECT_EQ(shown.line.back().x, 435);
  EXPECT_EQ(shown.values.front(), 7);
}

TEST_F(GraphTest, EqualValuesCountUpByOneFromTheValue) {
  logDays({"80 kg", "80 kg", "80 kg", "80 kg"});
  const GraphPlot shown = plot();
  EXPECT_EQ(shown.step, 1);
  EXPECT_EQ(shown.valueLabels, (std::vector<std::string>{"80", "81", "82", "83", "84", "85", "86",
                                                         "87", "88", "89", "90"}));
  for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(shown.line[k].y, 220) << k;
}

TEST_F(GraphTest, FiftyAndOneHundredFiftyStepByTen) {
  logDays({"50 kg", "150 kg"});
  const GraphPlot shown = plot();
  EXPECT_EQ(shown.step, 10);
  EXPECT_EQ(shown.valueLabels.front(), "50");
  EXPECT_EQ(shown.valueLabels[1], "60");
  EXPECT_EQ(shown.valueLabels.back(), "150");
  EXPECT_EQ(shown.line[1].y, 20);
  EXPECT_TRUE(isGray(draw().pixelAt(160, 18), 204));
}

TEST_F(GraphTest, FractionalValuesArePlottedByTheirIntegerPart) {
  logSets(january(1), {"62.5 kg", "8", ""});
  logSets(january(2), {"72.5 kg", "8", ""});
  const GraphPlot shown = plot();
  EXPECT_EQ(shown.values, (std::vector<std::optional<double>>{62, 72}));
  EXPECT_EQ(shown.valueLabels.front(), "62");
  EXPECT_EQ(shown.line[0].y, 220);
  EXPECT_EQ(shown.line[1].y, 20);
}

TEST_F(GraphTest, OneLoggedDayShowsTheNoGraphPictureUntilASecondIsLogged) {
  logDays({"50 kg"});
  Picture picture = draw();
  EXPECT_EQ(ui().noGraph.superview(), &ui().graphView);
  EXPECT_FALSE(ui().noGraph.image().empty());  // the bundle's "noGraph.jpg" is given at start-up
  EXPECT_EQ(picture.pixelAt(5, 310).a, 0);     // nothing drawn
  EXPECT_EQ(picture.pixelAt(65, 100).a, 0);

  logSets(january(2), {"60 kg", "5", ""});
  picture = draw();
  EXPECT_EQ(ui().noGraph.superview(), nullptr);
  EXPECT_TRUE(isGray(picture.pixelAt(5, 310), 43));
}

TEST_F(GraphTest, AnEmptiedDayKeepsItsSlotButNeitherAValueNorADot) {
  logSets(january(1), {"100 kg", "5", ""});
  logSets(january(2), {});                   // every set deleted
  logSets(january(3), {"300 kg", "0", ""});  // no repetitions
  logSets(january(4), {"120 kg", "5", ""});
  for (int type : {0, 2}) {
    ui().graphType.setSelectedSegmentIndex(type);
    const GraphPlot shown = plot();
    EXPECT_EQ(shown.dateLabels[1], "01/02") << type;
    ASSERT_EQ(shown.values.size(), 4u);
    EXPECT_FALSE(shown.values[1].has_value()) << type;
    EXPECT_EQ(shown.dots.size(), type == 0 ? 2u : 3u) << type;
  }
  ui().graphType.setSelectedSegmentIndex(0);
  const GraphPlot shown = plot();
  // The scale is that of 100 and 120 alone; the line bridges the two empty days.
  EXPECT_EQ(shown.minimum, 100);
  EXPECT_EQ(shown.step, 2);
  EXPECT_EQ(xs(shown.line), (std::vector<double>{110, 260, 310, 360, 410}));
  EXPECT_EQ(ys(shown.line), (std::vector<double>{220, 20, 240, 240, 240}));
  const Picture picture = draw();
  EXPECT_TRUE(isLineBlue(picture.pixelAt(185, 120)));  // straight from slot 0 to slot 3
  EXPECT_FALSE(isGray(picture.pixelAt(160, 218), 204));
}

TEST_F(GraphTest, DaysWithNoValueAtAllStillDrawTheAxes) {
  logSets(january(1), {});
  logSets(january(2), {"50 kg", "0", ""});
  const GraphPlot shown = plot();
  EXPECT_TRUE(shown.dots.empty());
  EXPECT_EQ(shown.valueLabels.front(), "0");
  EXPECT_EQ(shown.valueLabels.back(), "10");
  EXPECT_TRUE(isGray(draw().pixelAt(5, 310), 43));
}

TEST_F(GraphTest, AbsurdNumbersDrawWithoutFailing) {
  logSets(january(1), {"99999999999999 kg", "5", ""});
  logSets(january(2), {"-99999999999999 kg", "5", ""});
  logSets(january(3), {"1e300 kg", "1e300", ""});
  const GraphPlot shown = plot();
  EXPECT_EQ(shown.valueLabels.front(), "-2147483648");
  EXPECT_EQ(shown.valueLabels.back(), "2147483647");
  EXPECT_FALSE(shown.values[2].has_value());
  draw();
}

TEST_F(GraphTest, ATouchAboveTheControlBandHidesTheGraph) {
  logDays({"50 kg", "60 kg"});
  showGraph();
  application().setStatusBarHidden(true, Animated::No);
  drawGraph& graph = ui().graphView;

  ASSERT_TRUE(Finger().tap(graph, {470, 260}).ok());
  EXPECT_EQ(graph.alpha(), 1);
  EXPECT_TRUE(application().isStatusBarHidden());

  ASSERT_TRUE(Finger().tap(graph, {470, 259}).ok());
  EXPECT_EQ(graph.alpha(), 0);
  EXPECT_FALSE(application().isStatusBarHidden());
  ASSERT_TRUE(graph.lastAnimation().has_value());
  EXPECT_EQ(graph.lastAnimation()->kind, AnimationRecord::Kind::kAlpha);
  EXPECT_EQ(graph.lastAnimation()->duration, 0.75);
  EXPECT_EQ(graph.superview(), &application().window());  // it stays, transparent
}

TEST_F(GraphTest, ChangingEitherControlRedrawsTheGraph) {
  logDays({"50 kg", "60 kg"});
  showGraph();
  drawGraph& graph = ui().graphView;
  const auto before = graph.displayGeneration();
  ASSERT_TRUE(Finger().chooseSegment(ui().graphDuration, 2).ok());
  ASSERT_TRUE(Finger().chooseSegment(ui().graphType, 3).ok());
  EXPECT_EQ(graph.displayGeneration(), before + 2);
  EXPECT_EQ(plot().days, 28);
  EXPECT_EQ(plot().values, (std::vector<std::optional<double>>{5, 5}));
}

}  // namespace
}  // namespace kinetra::test
