#include "logging/RecordsText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinetra::test {
namespace {

PersonalRecords::Day day(int n, const char* key) { return {Date(1709251200.0 + n * 86400.0), key}; }

TEST(RecordsText, ThreeLinesInTheUnitOfTheLatestSet) {
  PersonalRecords records;
  records.add(day(0, "Mar 1, 2024"), "100 kg", "5");
  records.add(day(0, "Mar 1, 2024"), "120 kg", "3");
  records.add(day(1, "Mar 2, 2024"), "120 kg", "5");
  EXPECT_EQ(RecordsText::describe(records),
            "   Heaviest: 120 kg (Mar 1, 2024)\n"
            "   Most reps at 120 kg: 5 (Mar 2, 2024)\n"
            "   Est. 1RM: 140 kg (120 kg × 5, Mar 2, 2024)");

  // A later set in pounds turns every weight into pounds, the set itself included.
  records.add(day(2, "Mar 3, 2024"), "135 lbs", "10");
  EXPECT_EQ(RecordsText::describe(records),
            "   Heaviest: 264.6 lbs (Mar 1, 2024)\n"
            "   Most reps at 264.6 lbs: 5 (Mar 2, 2024)\n"
            "   Est. 1RM: 308.6 lbs (264.6 lbs × 5, Mar 2, 2024)");
}

TEST(RecordsText, BodyweightOnlyAndNothingAtAll) {
  PersonalRecords bodyweight;
  bodyweight.add(day(0, "Mar 1, 2024"), "0 lbs", "12");
  bodyweight.add(day(1, "Mar 2, 2024"), "0 lbs", "15");
  EXPECT_EQ(RecordsText::describe(bodyweight), "   Most reps: 15 (Mar 2, 2024)");

  PersonalRecords none;
  EXPECT_EQ(RecordsText::describe(none), "   No records yet");
  none.add(day(0, "Mar 1, 2024"), "100 kg", "0");
  none.add(day(0, "Mar 1, 2024"), "garbage", "5");
  EXPECT_EQ(RecordsText::describe(none), "   No records yet");
}

TEST(RecordsText, WeightsWithoutAnyUnitAreBareNumbers) {
  PersonalRecords records;
  records.add(day(0, "Mar 1, 2024"), "60", "10");
  EXPECT_EQ(RecordsText::describe(records),
            "   Heaviest: 60 (Mar 1, 2024)\n"
            "   Most reps at 60: 10 (Mar 1, 2024)\n"
            "   Est. 1RM: 80 (60 × 10, Mar 1, 2024)");
}

}  // namespace
}  // namespace kinetra::test
