#include "model/WeightText.h"

#include <gtest/gtest.h>

#include "model/LogEntry.h"

namespace kinetra {
namespace {

TEST(WeightText, ComposesThePointOnlyForARealDecimal) {
  EXPECT_EQ(WeightText::compose("20", "5", "kg"), "20.5 kg");
  EXPECT_EQ(WeightText::compose("20", "0", "kg"), "20 kg");
  EXPECT_EQ(WeightText::compose("20", "", "lbs"), "20 lbs");
  EXPECT_EQ(WeightText::compose("20", "00", "lbs"), "20.00 lbs");
}

TEST(WeightText, SplitsAtTheFirstBlankAndPoints) {
  const WeightText::Fields kg = WeightText::split("82.5 kg");
  EXPECT_EQ(kg.whole, "82");
  EXPECT_EQ(kg.decimal, "5");
  EXPECT_TRUE(kg.kilograms);

  const WeightText::Fields lbs = WeightText::split("100 lbs");
  EXPECT_EQ(lbs.whole, "100");
  EXPECT_FALSE(lbs.decimal.has_value());
  EXPECT_FALSE(lbs.kilograms);

  const WeightText::Fields odd = WeightText::split("1.2.3 kg x");
  EXPECT_EQ(odd.whole, "1");
  EXPECT_EQ(odd.decimal, "2");
  EXPECT_FALSE(odd.kilograms);  // the unit is recognised only as a suffix

  EXPECT_EQ(WeightText::split("").whole, "");
  EXPECT_EQ(WeightText::split("7.").decimal, "");
  EXPECT_TRUE(WeightText::split("5kg").kilograms);
}

TEST(LogEntry, RemovesOnlyWholeGroups) {
  PropertyList::Array entry{"a", "b", "c", "d", "e", "f", "g"};
  EXPECT_FALSE(LogEntry::removeGroup(entry, 2, 3));  // "g" alone is no set
  EXPECT_TRUE(LogEntry::removeGroup(entry, 0, 3));
  EXPECT_EQ(entry, (PropertyList::Array{"d", "e", "f", "g"}));
  EXPECT_FALSE(LogEntry::removeGroup(entry, 0, 0));
}

TEST(LogEntry, FindsOnlyWellFormedEntries) {
  PropertyList log = PropertyList::Dictionary{
      {"d1", PropertyList::Dictionary{{"x", PropertyList::Array{"1"}}, {"y", "text"}}},
      {"d2", PropertyList::Array{}}};
  EXPECT_NE(LogEntry::find(log, "d1", "x"), nullptr);
  EXPECT_EQ(LogEntry::find(log, "d1", "y"), nullptr);
  EXPECT_EQ(LogEntry::find(log, "d2", "x"), nullptr);
  EXPECT_EQ(LogEntry::find(log, "d3", "x"), nullptr);
  EXPECT_EQ(LogEntry::find(PropertyList("not a log"), "d1", "x"), nullptr);

  EXPECT_EQ(LogEntry::text(PropertyList::Array{PropertyList(3)}, 0), "");
  EXPECT_EQ(LogEntry::text(PropertyList::Array{}, 4), "");
}

// Whatever a file held is kept: a value of the wrong kind where a set must go refuses the set.
TEST(LogEntry, AppendMakesWhatIsMissingAndNeverReplacesWhatIsThere) {
  const PropertyList original = PropertyList::Dictionary{
      {"d1", PropertyList::Dictionary{{"x", PropertyList::Array{"1"}}, {"y", "text"}}},
      {"d2", PropertyList::Array{"odd"}}};
  PropertyList log = original;
  EXPECT_FALSE(LogEntry::append(log, "d1", "y", {"a"}).ok());
  EXPECT_FALSE(LogEntry::append(log, "d2", "x", {"a"}).ok());
  EXPECT_EQ(log, original);
  PropertyList notALog = PropertyList::Array{"kept"};
  EXPECT_FALSE(LogEntry::append(notALog, "d", "x", {"1"}).ok());
  EXPECT_EQ(notALog, PropertyList(PropertyList::Array{"kept"}));

  ASSERT_TRUE(LogEntry::append(log, "d1", "x", {"2", "3"}).ok());
  ASSERT_TRUE(LogEntry::append(log, "d3", "z", {"4"}).ok());
  EXPECT_EQ(*LogEntry::find(log, "d1", "x"), (PropertyList::Array{"1", "2", "3"}));
  EXPECT_EQ(*LogEntry::find(log, "d3", "z"), (PropertyList::Array{"4"}));
}

}  // namespace
}  // namespace kinetra
