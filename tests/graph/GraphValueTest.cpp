#include "graph/GraphValue.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

namespace kinetra {
namespace {

using Type = GraphValue::Type;

PropertyList entry(std::initializer_list<std::string> strings) {
  PropertyList::Array items;
  for (const std::string& text : strings) items.emplace_back(text);
  return items;
}

TEST(GraphValueTest, ReadsTheNumberAtTheStartOfAText) {
  EXPECT_EQ(GraphValue::leadingNumber("62.5"), 62.5);
  EXPECT_EQ(GraphValue::leadingNumber("  8 reps"), 8);
  EXPECT_EQ(GraphValue::leadingNumber("-3"), -3);
  EXPECT_EQ(GraphValue::leadingNumber(".5"), 0.5);
  EXPECT_EQ(GraphValue::leadingNumber("1e2"), 100);
  for (const char* notANumber : {"", "abc", "kg 20", "inf", "nan", "+", ".", "0x10"}) {
    EXPECT_EQ(GraphValue::leadingNumber(notANumber), 0) << notANumber;
  }
  EXPECT_EQ(GraphValue::leadingNumber("1e400"), 0);  // beyond a double: not a number we plot
}

TEST(GraphValueTest, EachTypeOfDayValue) {
  // 60 kg × 10 and 90 kg × 5: (600 + 450) / 15 = 70.
  const PropertyList day = entry({"60 kg", "10", "", "90 kg", "5", "heavy"});
  EXPECT_EQ(GraphValue::ofDay(day, Type::kAverageWeight), 70);
  EXPECT_EQ(GraphValue::ofDay(day, Type::kHeaviestWeight), 90);
  EXPECT_EQ(GraphValue::ofDay(day, Type::kAverageReps), 7.5);
  EXPECT_EQ(GraphValue::ofDay(day, Type::kMostReps), 10);
  EXPECT_EQ(GraphValue::ofDay(entry({"62.5 kg", "4", ""}), Type::kAverageWeight), 62.5);
}

TEST(GraphValueTest, AnEmptiedDayHasNoAverageButZeroMaxima) {
  const PropertyList emptied = PropertyList::Array{};
  EXPECT_EQ(GraphValue::ofDay(emptied, Type::kAverageWeight), std::nullopt);
  EXPECT_EQ(GraphValue::ofDay(emptied, Type::kAverageReps), std::nullopt);
  EXPECT_EQ(GraphValue::ofDay(emptied, Type::kHeaviestWeight), 0);
  EXPECT_EQ(GraphValue::ofDay(emptied, Type::kMostReps), 0);

  const PropertyList noReps = entry({"100 lbs", "0", "", "80 lbs", "", ""});
  EXPECT_EQ(GraphValue::ofDay(noReps, Type::kAverageWeight), std::nullopt);
  EXPECT_EQ(GraphValue::ofDay(noReps, Type::kAverageReps), 0);
  EXPECT_EQ(GraphValue::ofDay(noReps, Type::kHeaviestWeight), 100);
}

TEST(GraphValueTest, HostileEntriesGiveDefinedValues) {
  // Not an array, an incomplete trailing set, non-string elements.
  EXPECT_EQ(GraphValue::ofDay(PropertyList("text"), Type::kAverageReps), std::nullopt);
  EXPECT_EQ(GraphValue::ofDay(entry({"50 kg", "5", "", "999 kg", "9"}), Type::kHeaviestWeight), 50);
  const PropertyList odd = PropertyList::Array{PropertyList(7), PropertyList::Array{}, "n"};
  EXPECT_EQ(GraphValue::ofDay(odd, Type::kAverageReps), 0);
  // Products too large for a double leave the day without a value rather than plotting inf.
  EXPECT_EQ(GraphValue::ofDay(entry({"1e300 kg", "1e300", ""}), Type::kAverageWeight),
            std::nullopt);
  EXPECT_EQ(GraphValue::typeForSegment(4), std::nullopt);
  EXPECT_EQ(GraphValue::typeForSegment(-1), std::nullopt);
}

}  // namespace
}  // namespace kinetra
