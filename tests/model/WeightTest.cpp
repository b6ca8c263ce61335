#include "model/Weight.h"

#include <gtest/gtest.h>

#include <string>

namespace kinetra {
namespace {

TEST(Weight, ReadsTheNumberAndTheUnitOfEverySpelling) {
  struct Case {
    const char* text;
    double amount;
    WeightUnit unit;
  };
  const Case cases[] = {
      {"82.5 kg", 82.5, WeightUnit::kKilograms}, {"100 lbs", 100, WeightUnit::kPounds},
      {"100 lb", 100, WeightUnit::kPounds},      {"60 LBS ", 60, WeightUnit::kPounds},
      {"45kg", 45, WeightUnit::kKilograms},      {"20 Kgs", 20, WeightUnit::kKilograms},
      {"70 kilos", 70, WeightUnit::kKilograms},  {"5 pounds", 5, WeightUnit::kPounds},
      {"0.5 lbs", 0.5, WeightUnit::kPounds},     {".5 kg", 0.5, WeightUnit::kKilograms},
      {"100", 100, WeightUnit::kNone},           {"  40 stone", 40, WeightUnit::kNone},
      {"20.00 lbs", 20, WeightUnit::kPounds},    {"1.2.3 kg", 1.2, WeightUnit::kKilograms},
  };
  for (const Case& c : cases) {
    const std::optional<Weight> weight = Weight::parse(c.text);
    ASSERT_TRUE(weight.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(weight->amount(), c.amount) << c.text;
    EXPECT_EQ(weight->unit(), c.unit) << c.text;
  }
}

TEST(Weight, TextsThatDoNotBeginWithANumberAreNoWeight) {
  for (const char* text :
       {"", "   ", "kg", "heavy kg", "-5 kg", "+5 kg", "nan kg", "inf lbs", "1e999 kg", ". kg"}) {
    EXPECT_FALSE(Weight::parse(text).has_value()) << text;
  }
}

TEST(Weight, ConvertsBetweenPoundsAndKilograms) {
  EXPECT_DOUBLE_EQ(Weight(100, WeightUnit::kPounds).kilograms(), 45.359237);
  EXPECT_NEAR(Weight(45, WeightUnit::kKilograms).in(WeightUnit::kPounds), 99.2080179, 1e-6);
  EXPECT_DOUBLE_EQ(Weight(45, WeightUnit::kKilograms).in(WeightUnit::kKilograms), 45);
  // A weight without a unit is taken as it is, in either unit.
  EXPECT_DOUBLE_EQ(Weight(45, WeightUnit::kNone).in(WeightUnit::kPounds), 45);
  EXPECT_DOUBLE_EQ(Weight(45, WeightUnit::kPounds).in(WeightUnit::kNone), 45);
}

TEST(Weight, TextHasAtMostOneDecimalAndTheTargetUnit) {
  EXPECT_EQ(Weight(100, WeightUnit::kPounds).text(WeightUnit::kKilograms), "45.4 kg");
  EXPECT_EQ(Weight(50, WeightUnit::kKilograms).text(WeightUnit::kPounds), "110.2 lbs");
  EXPECT_EQ(Weight(100, WeightUnit::kPounds).text(WeightUnit::kPounds), "100 lbs");
  EXPECT_EQ(Weight(82.5, WeightUnit::kKilograms).text(WeightUnit::kKilograms), "82.5 kg");
  EXPECT_EQ(Weight(99.96, WeightUnit::kKilograms).text(WeightUnit::kKilograms), "100 kg");
  EXPECT_EQ(Weight(100, WeightUnit::kNone).text(WeightUnit::kNone), "100");
  EXPECT_EQ(Weight(100, WeightUnit::kKilograms).text(WeightUnit::kNone), "100 kg");
}

}  // namespace
}  // namespace kinetra
