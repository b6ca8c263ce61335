#include "model/PersonalRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kinetra {
namespace {

using Day = PersonalRecords::Day;

// Day `n` of March 2024 (only the order matters here).
Day march(int n) { return Day{Date(1709251200.0 + (n - 1) * 86400.0), "Mar " + std::to_string(n)}; }

PersonalRecords recordsOf(const std::vector<std::pair<Day, std::vector<const char*>>>& days) {
  PersonalRecords records;
  for (const auto& [day, strings] : days) {
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2)
      records.add(day, strings[i], strings[i + 1]);
  }
  return records;
}

TEST(PersonalRecords, HandCheckedRecordsWithTheirDays) {
  const PersonalRecords records = recordsOf({
      {march(1), {"100 kg", "5", "110 kg", "3"}},
      {march(2), {"110 kg", "5", "100 kg", "8"}},
  });
  ASSERT_TRUE(records.heaviest().has_value());
  EXPECT_EQ(records.heaviest()->weight.amount(), 110);
  EXPECT_EQ(records.heaviest()->day, march(1));  // first reached on the 1st
  ASSERT_TRUE(records.mostRepsAtHeaviest().has_value());
  EXPECT_EQ(records.mostRepsAtHeaviest()->reps, 5);
  EXPECT_EQ(records.mostRepsAtHeaviest()->day, march(2));
  // Estimates: 116.7, 121, 128.3, 126.7.
  ASSERT_TRUE(records.bestEstimate().has_value());
  EXPECT_NEAR(PersonalRecords::estimate(*records.bestEstimate()), 128.333, 1e-3);
  EXPECT_EQ(records.bestEstimate()->day, march(2));
  EXPECT_EQ(records.unit(), WeightUnit::kKilograms);

  EXPECT_FALSE(records.beatsEarlierBest(march(1), 0));  // nothing earlier to beat
  EXPECT_TRUE(records.beatsEarlierBest(march(1), 1));
  EXPECT_TRUE(records.beatsEarlierBest(march(2), 0));
  EXPECT_FALSE(records.beatsEarlierBest(march(2), 1));
  EXPECT_FALSE(records.beatsEarlierBest(march(2), 2));  // no such set
  EXPECT_FALSE(records.beatsEarlierBest(march(3), 0));  // no such day
}

TEST(PersonalRecords, ASetEqualToTheBestIsNoNewRecord) {
  // 100 × (1 + 6/30) = 90 × (1 + 10/30) = 120, however the quotients round.
  const PersonalRecords records = recordsOf({
      {march(1), {"100 kg", "6"}},
      {march(2), {"90 kg", "10", "100 kg", "6"}},
      {march(3), {"100 kg", "6"}},
  });
  EXPECT_FALSE(records.beatsEarlierBest(march(2), 0));
  EXPECT_FALSE(records.beatsEarlierBest(march(2), 1));
  EXPECT_FALSE(records.beatsEarlierBest(march(3), 0));
  EXPECT_EQ(records.bestEstimate()->day, march(1));
  EXPECT_EQ(records.heaviest()->day, march(1));
  EXPECT_EQ(records.mostRepsAtHeaviest()->day, march(1));
}

TEST(PersonalRecords, SetsWithoutRepetitionsAreNeverRecords) {
  const PersonalRecords records = recordsOf({
      {march(1), {"100 kg", "5", "200 kg", "0", "300 kg", ""}},
  });
  EXPECT_EQ(records.heaviest()->weight.amount(), 100);
  EXPECT_FALSE(records.beatsEarlierBest(march(1), 1));
  EXPECT_FALSE(records.beatsEarlierBest(march(1), 2));

  const PersonalRecords none = recordsOf({{march(1), {"100 kg", "0"}}});
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(none.bestEstimate().has_value());
  EXPECT_EQ(none.unit(), WeightUnit::kKilograms);  // the unit is the set's all the same
}

TEST(PersonalRecords, MixedUnitsOnOneDayCompareInKilograms) {
  // 100 lbs is 45.4 kg: the 50 kg set is heavier although its number is smaller.
  const PersonalRecords records = recordsOf({{march(1), {"100 lbs", "5", "50 kg", "5"}}});
  EXPECT_EQ(records.heaviest()->weight.unit(), WeightUnit::kKilograms);
  EXPECT_EQ(records.heaviest()->weight.amount(), 50);
  EXPECT_TRUE(records.beatsEarlierBest(march(1), 1));
  EXPECT_EQ(records.unit(), WeightUnit::kKilograms);

  // The other way round: the pound set is lighter and not a record; the unit follows the last.
  const PersonalRecords reversed = recordsOf({{march(1), {"50 kg", "5", "100 lbs", "5"}}});
  EXPECT_EQ(reversed.heaviest()->weight.amount(), 50);
  EXPECT_FALSE(reversed.beatsEarlierBest(march(1), 1));
  EXPECT_EQ(reversed.unit(), WeightUnit::kPounds);
}

TEST(PersonalRecords, TheUnitIsThatOfTheLatestDayWhateverTheOrderOfAdding) {
  PersonalRecords records;
  records.add(march(5), "100 lbs", "5");
  records.add(march(2), "50 kg", "5");  // logged later, on an earlier day
  records.add(march(3), "60", "5");     // names no unit
  EXPECT_EQ(records.unit(), WeightUnit::kPounds);
}

TEST(PersonalRecords, BodyweightSetsHaveRepetitionsButNoEstimate) {
  const PersonalRecords records = recordsOf({{march(1), {"0 lbs", "12", "0 lbs", "15"}}});
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.heaviest()->weight.amount(), 0);
  EXPECT_EQ(records.mostRepsAtHeaviest()->reps, 15);
  EXPECT_FALSE(records.bestEstimate().has_value());
  EXPECT_FALSE(records.beatsEarlierBest(march(1), 1));
}

TEST(PersonalRecords, MalformedSetsAreIgnoredButKeepTheirPlace) {
  const PersonalRecords records = recordsOf({
      {march(1), {"heavy kg", "5", "100 kg", "ten", "", "", "-80 kg", "5", "kg", "5"}},
      {march(1), {"60 kg", "5", "70 kg", "5"}},
  });
  EXPECT_EQ(records.heaviest()->weight.amount(), 70);
  EXPECT_FALSE(records.beatsEarlierBest(march(1), 5));  // the first set with an estimate
  EXPECT_TRUE(records.beatsEarlierBest(march(1), 6));   // the seventh set of the day
}

}  // namespace
}  // namespace kinetra
