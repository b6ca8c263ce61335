#include "model/RestLengths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinetra {
namespace {

PropertyList settingsWith(PropertyList lengths) {
  return PropertyList::Dictionary{{"email", "me@example.org"},
                                  {std::string(RestLengths::kKey), std::move(lengths)}};
}

TEST(RestLengths, ReadsTheRememberedLengthOfEachExercise) {
  const PropertyList settings =
      settingsWith(PropertyList::Dictionary{{"Squat", "120"}, {"bench press", "15"}});
  EXPECT_EQ(RestLengths::lengthFor(settings, "Squat"), 120);
  EXPECT_EQ(RestLengths::lengthFor(settings, "bench press"), 15);
  EXPECT_EQ(RestLengths::lengthFor(settings, "Zottman Curl"), RestLengths::kDefaultSeconds);
  // Names are exact: no case folding, no trimming.
  EXPECT_EQ(RestLengths::lengthFor(settings, "squat"), RestLengths::kDefaultSeconds);
  EXPECT_EQ(RestLengths::lengthFor(PropertyList::Dictionary{}, "Squat"),
            RestLengths::kDefaultSeconds);
}

TEST(RestLengths, AnUnreadableLengthCountsAsNone) {
  struct Case {
    const char* label;
    PropertyList value;
  };
  const std::vector<Case> cases = {
      {"empty", ""},
      {"words", "two minutes"},
      {"sign", "+120"},
      {"negative", "-30"},
      {"blank around", " 120"},
      {"fraction", "90.5"},
      {"below the minimum", "14"},
      {"zero", "0"},
      {"above the maximum", "601"},
      {"beyond int", "99999999999999999999"},
      {"an integer, not a string", PropertyList(120)},
      {"an array", PropertyList::Array{"120"}},
  };
  for (const Case& c : cases) {
    const PropertyList settings = settingsWith(PropertyList::Dictionary{{"Squat", c.value}});
    EXPECT_EQ(RestLengths::lengthFor(settings, "Squat"), RestLengths::kDefaultSeconds) << c.label;
  }
  // The bounds themselves are lengths.
  EXPECT_EQ(
      RestLengths::lengthFor(settingsWith(PropertyList::Dictionary{{"Squat", "600"}}), "Squat"),
      600);
  EXPECT_EQ(
      RestLengths::lengthFor(settingsWith(PropertyList::Dictionary{{"Squat", "0015"}}), "Squat"),
      15);
}

TEST(RestLengths, AnUnreadableTableOrSettingsCountsAsNone) {
  EXPECT_EQ(RestLengths::lengthFor(settingsWith("120"), "Squat"), RestLengths::kDefaultSeconds);
  EXPECT_EQ(RestLengths::lengthFor(settingsWith(PropertyList::Array{"Squat", "120"}), "Squat"),
            RestLengths::kDefaultSeconds);
  EXPECT_EQ(RestLengths::lengthFor(PropertyList("settings"), "Squat"),
            RestLengths::kDefaultSeconds);
}

TEST(RestLengths, RemembersClampedLengthsBesideTheOtherSettings) {
  PropertyList settings = settingsWith(PropertyList::Dictionary{{"Squat", "not a number"}});
  ASSERT_TRUE(RestLengths::remember(settings, "bench press", 105));
  ASSERT_TRUE(RestLengths::remember(settings, "Squat", 5));
  ASSERT_TRUE(RestLengths::remember(settings, "Zottman Curl", 1000));
  const PropertyList expected = settingsWith(
      PropertyList::Dictionary{{"Squat", "15"}, {"bench press", "105"}, {"Zottman Curl", "600"}});
  EXPECT_EQ(settings, expected);
}

TEST(RestLengths, AnUnreadableTableIsReplacedWhenALengthIsRemembered) {
  PropertyList settings = settingsWith(PropertyList::Array{"junk"});
  ASSERT_TRUE(RestLengths::remember(settings, "Squat", 45));
  EXPECT_EQ(settings, settingsWith(PropertyList::Dictionary{{"Squat", "45"}}));

  PropertyList notADictionary = PropertyList::Array{};
  EXPECT_FALSE(RestLengths::remember(notADictionary, "Squat", 45));
  EXPECT_EQ(notADictionary, PropertyList(PropertyList::Array{}));
}

}  // namespace
}  // namespace kinetra
