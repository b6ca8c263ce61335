// The graph view on its own: it draws the plot it is handed and nothing else.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"
#include "graph/GraphPlot.h"
#include "graph/drawGraph.h"
#include "graphics/DrawingContext.h"

namespace kinetra::test {
namespace {

Picture drawn(drawGraph& graph) {
  Result<DrawingContext> context = DrawingContext::create(480, 320, 1);
  EXPECT_TRUE(context.ok());
  graph.drawRect(*context, graph.bounds());
  return context->picture();
}

GraphPlot twoDays() {
  const DateFormatter::Options dates{"en_US", "UTC"};
  const auto dayStyle = DateFormatter::mediumStyle(dates);
  const auto monthDay = DateFormatter::withPattern("MM/dd", dates);
  const std::vector<std::string> days = {"Jan 1, 2024", "Jan 2, 2024"};
  const PropertyList log = PropertyList::Dictionary{
      {"Jan 1, 2024", PropertyList::Dictionary{{"Squat", PropertyList::Array{"50 kg", "5", ""}}}},
      {"Jan 2, 2024", PropertyList::Dictionary{{"Squat", PropertyList::Array{"60 kg", "5", ""}}}}};
  return GraphPlot::make({days, log, "Squat", 0, 0, *dayStyle, *monthDay});
}

TEST(GraphViewTest, DrawsOnlyThePlotItWasLastHanded) {
  drawGraph graph;
  EXPECT_EQ(drawn(graph).pixelAt(5, 310).a, 0);  // no plot yet: nothing at all

  const auto before = graph.displayGeneration();
  graph.setPlot(twoDays());
  EXPECT_EQ(graph.displayGeneration(), before + 1);
  ASSERT_TRUE(graph.plot().has_value());
  EXPECT_EQ(graph.plot()->dateLabels[1], "01/02");
  const Rgba band = drawn(graph).pixelAt(5, 310);
  EXPECT_EQ(band.a, 255);
  EXPECT_NEAR(band.r, 43, 2);  // the band under the date axis

  graph.setPlot(std::nullopt);
  EXPECT_EQ(graph.displayGeneration(), before + 2);
  EXPECT_EQ(drawn(graph).pixelAt(5, 310).a, 0);
}

}  // namespace
}  // namespace kinetra::test
