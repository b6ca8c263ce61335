// The graph's one unit: weights in the unit of the exercise's most recent set, and the unit named.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"
#include "graph/GraphPlot.h"
#include "graph/GraphValue.h"
#include "graph/drawGraph.h"
#include "graphics/DrawingContext.h"

namespace kinetra::test {
namespace {

using Array = PropertyList::Array;
using Dictionary = PropertyList::Dictionary;
using Values = std::vector<std::optional<double>>;

class GraphPlotUnitsTest : public ::testing::Test {
 protected:
  void log(const std::string& day, Array sets) {
    log_.asDictionary()[day] = Dictionary{{"Squat", std::move(sets)}};
    days_.push_back(day);
  }
  GraphPlot plot(int type = 1) {
    return GraphPlot::make({days_, log_, "Squat", 0, type, *dayStyle_, *monthDay_});
  }

  const DateFormatter::Options dates_{"en_US", "UTC"};
  std::unique_ptr<DateFormatter> dayStyle_ = DateFormatter::mediumStyle(dates_);
  std::unique_ptr<DateFormatter> monthDay_ = DateFormatter::withPattern("MM/dd", dates_);
  PropertyList log_ = Dictionary{};
  std::vector<std::string> days_;  // oldest first
};

TEST(GraphValueUnits, EachSetIsConvertedBeforeTheDayIsWorkedOut) {
  const PropertyList day = Array{"100 lbs", "5", "", "50 kg", "5", "", "40", "5", ""};
  using Type = GraphValue::Type;
  EXPECT_DOUBLE_EQ(*GraphValue::ofDay(day, Type::kHeaviestWeight, WeightUnit::kKilograms), 50);
  EXPECT_NEAR(*GraphValue::ofDay(day, Type::kHeaviestWeight, WeightUnit::kPounds), 110.231, 1e-3);
  // (45.359 × 5 + 50 × 5 + 40 × 5) / 15; the set without a unit counts as it is.
  EXPECT_NEAR(*GraphValue::ofDay(day, Type::kAverageWeight, WeightUnit::kKilograms), 45.120, 1e-3);
  // Without a unit nothing is converted, as before.
  EXPECT_DOUBLE_EQ(*GraphValue::ofDay(day, Type::kHeaviestWeight), 100);
  EXPECT_DOUBLE_EQ(*GraphValue::ofDay(day, Type::kMostReps, WeightUnit::kPounds), 5);
}

TEST_F(GraphPlotUnitsTest, WeightsFollowTheUnitOfTheMostRecentSet) {
  log("Jan 1, 2024", Array{"100 lbs", "5", ""});
  log("Jan 2, 2024", Array{"100 lbs", "5", "", "50 kg", "5", ""});
  GraphPlot shown = plot();
  EXPECT_EQ(shown.unitLabel, "kg");
  EXPECT_EQ(shown.values, (Values{45, 50}));

  log("Jan 3, 2024", Array{"50 kg", "5", "", "120 lbs", "5", ""});
  shown = plot();
  EXPECT_EQ(shown.unitLabel, "lbs");
  EXPECT_EQ(shown.values, (Values{100, 110, 120}));
}

TEST_F(GraphPlotUnitsTest, RepetitionGraphsSayRepsAndUnitlessLogsSayNothing) {
  log("Jan 1, 2024", Array{"100", "8", ""});
  log("Jan 2, 2024", Array{"110", "6", "", "bad", "x", ""});
  EXPECT_EQ(plot(1).unitLabel, "");
  EXPECT_EQ(plot(1).values, (Values{100, 110}));
  EXPECT_EQ(plot(3).unitLabel, "reps");
  EXPECT_EQ(plot(3).values, (Values{8, 6}));
}

// Pixels lit (not transparent) in the rectangle where the unit is written.
int litNearTheUnit(const GraphPlot& plot) {
  Result<DrawingContext> context = DrawingContext::create(480, 320, 1);
  EXPECT_TRUE(context.ok());
  drawGraph::drawPlot(*context, plot);
  const Picture picture = context->picture();
  int lit = 0;
  for (int y = 2; y < 18; ++y) {
    for (int x = 68; x < 100; ++x)
      lit += picture.pixelAt(x, y).a > 0 && picture.pixelAt(x, y).r > 100;
  }
  return lit;
}

TEST_F(GraphPlotUnitsTest, TheUnitIsWrittenAtTheTopOfTheValueAxis) {
  log("Jan 1, 2024", Array{"100", "8", ""});
  log("Jan 2, 2024", Array{"110", "6", ""});
  EXPECT_EQ(litNearTheUnit(plot()), 0);  // no unit: the corner stays empty
  log("Jan 3, 2024", Array{"50 kg", "5", ""});
  EXPECT_GT(litNearTheUnit(plot()), 5);
}

}  // namespace
}  // namespace kinetra::test
