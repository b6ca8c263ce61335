#include <gtest/gtest.h>

#include "logging/LoggingTestSupport.h"
#include "model/LogEntry.h"

namespace kinetra::test {
namespace {

using Strings = std::vector<std::string>;

class StrengthEntryTest : public LoggingTest {
 protected:
  // Replaces the whole text of a field, as the finger does when it selects and retypes.
  void retype(TextField& field, const std::string& text) {
    ASSERT_TRUE(finger.tap(field).ok());
    ASSERT_TRUE(finger.editText(text).ok()) << text;
  }
  void addSet() { ASSERT_TRUE(finger.tap(ui().logAddButton).ok()); }
  Strings todaysSquats() { return entryOf(app().userData().exerciseLog, kToday, "Squat"); }
  Strings storedSquats() { return entryOf(readDocument("Kinetra_Log.plist"), kToday, "Squat"); }
};

TEST_F(StrengthEntryTest, AddsWeightWithDecimalInKilograms) {
  openPane("Squat");
  type(ui().weight, "20");
  retype(ui().weightDecimal, "5");
  ASSERT_TRUE(finger.chooseSegment(ui().weightType, 1).ok());
  type(ui().reps, "8");
  addSet();

  EXPECT_EQ(todaysSquats(), (Strings{"20.5 kg", "8", ""}));
  EXPECT_EQ(storedSquats(), (Strings{"20.5 kg", "8", ""}));
  EXPECT_EQ(app().selection().fixedWeight, "20.5 kg");
  EXPECT_FALSE(ui().reps.isFirstResponder());
  EXPECT_EQ(rowTexts(ui().logTableView), (Strings{"Set 1, 20.5 kg for 8 reps"}));
  // The fields keep their text for the next set.
  EXPECT_EQ(ui().weight.text(), "20");
  EXPECT_EQ(ui().weightDecimal.text(), "5");
}

TEST_F(StrengthEntryTest, DecimalZeroOrEmptyAddsNoPoint) {
  openPane("Squat");
  type(ui().weight, "40");
  type(ui().reps, "5");
  type(ui().note, "easy");
  addSet();  // decimal "0" as the pane opened
  retype(ui().weightDecimal, "");
  addSet();
  EXPECT_EQ(todaysSquats(), (Strings{"40 lbs", "5", "easy", "40 lbs", "5", "easy"}));
}

TEST_F(StrengthEntryTest, EmptyWeightAndRepetitionsBecomeZero) {
  openPane("Squat");
  addSet();
  EXPECT_EQ(ui().weight.text(), "0");
  EXPECT_EQ(ui().reps.text(), "0");
  EXPECT_EQ(storedSquats(), (Strings{"0 lbs", "0", ""}));
}

TEST_F(StrengthEntryTest, DecimalWithEmptyWeightIsAFraction) {
  openPane("Squat");
  retype(ui().weightDecimal, "5");
  type(ui().reps, "12");
  addSet();
  EXPECT_EQ(todaysSquats(), (Strings{"0.5 lbs", "12", ""}));
}

TEST_F(StrengthEntryTest, TwoSetsCreateTheDayAndTheExercise) {
  ASSERT_FALSE(app().userData().exerciseLog.asDictionary().contains(kToday));
  openPane("Squat");
  type(ui().weight, "100");
  type(ui().reps, "10");
  addSet();
  retype(ui().reps, "9");
  addSet();

  const PropertyList stored = readDocument("Kinetra_Log.plist");
  ASSERT_TRUE(stored.asDictionary().contains(kToday));
  EXPECT_EQ(stored.asDictionary().at(kToday).asDictionary().size(), 1U);
  EXPECT_EQ(storedSquats(), (Strings{"100 lbs", "10", "", "100 lbs", "9", ""}));
  EXPECT_EQ(rowTexts(ui().logTableView),
            (Strings{"Set 1, 100 lbs for 10 reps", "Set 2, 100 lbs for 9 reps"}));
}

TEST_F(StrengthEntryTest, PrefillsFromTheFirstSetOfTheLatestDay) {
  app().userData().exerciseLog = PropertyList::Dictionary{
      {"Mar 10, 2024",
       PropertyList::Dictionary{{"Squat", PropertyList::Array{"60 lbs", "10", ""}}}},
      {"Mar 18, 2024",
       PropertyList::Dictionary{
           {"Squat", PropertyList::Array{"82.5 kg", "6", "felt good", "90 kg", "4", ""}}}},
      {"Mar 19, 2024",
       PropertyList::Dictionary{{"bench press", PropertyList::Array{"50 kg", "8", ""}}}}};
  openPane("Squat");
  EXPECT_EQ(ui().weight.text(), "82");
  EXPECT_EQ(ui().weightDecimal.text(), "5");
  EXPECT_EQ(ui().weightType.selectedSegmentIndex(), 1);
  EXPECT_EQ(ui().reps.text(), "6");
  EXPECT_EQ(ui().note.text(), "");
  // Nothing of that day is in today's table.
  EXPECT_TRUE(rowTexts(ui().logTableView).empty());
}

TEST_F(StrengthEntryTest, PrefillInTheOtherUnitResetsDecimalAndUnit) {
  app().userData().exerciseLog = PropertyList::Dictionary{
      {"Mar 18, 2024",
       PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 lbs", "12", ""}}}}};
  // What an earlier pane left behind.
  ui().weightDecimal.setText("7");
  ui().weightType.setSelectedSegmentIndex(1);
  ui().note.setText("old");
  openPane("Squat");
  EXPECT_EQ(ui().weight.text(), "100");
  EXPECT_EQ(ui().weightDecimal.text(), "0");
  EXPECT_EQ(ui().weightType.selectedSegmentIndex(), 0);
  EXPECT_EQ(ui().reps.text(), "12");
  EXPECT_EQ(ui().note.text(), "");
}

TEST_F(StrengthEntryTest, NeverLoggedOpensWithEmptyFields) {
  ui().weight.setText("3");
  ui().reps.setText("3");
  openPane("Zottman Curl");
  EXPECT_EQ(ui().weight.text(), "");
  EXPECT_EQ(ui().weightDecimal.text(), "0");
  EXPECT_EQ(ui().reps.text(), "");
  EXPECT_EQ(ui().weightType.selectedSegmentIndex(), 0);
}

TEST_F(StrengthEntryTest, TodaysSetIsOfferedWhenReopened) {
  openPane("Squat");
  type(ui().weight, "70");
  type(ui().reps, "3");
  addSet();
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  openPane("Squat");
  EXPECT_EQ(ui().weight.text(), "70");
  EXPECT_EQ(ui().reps.text(), "3");
}

// A log file edited by hand can hold anything under a day; the prefill reads what it can and
// never crashes.
TEST_F(StrengthEntryTest, MalformedEntriesAreReadSafely) {
  app().userData().exerciseLog = PropertyList::Dictionary{
      {"Mar 18, 2024",
       PropertyList::Dictionary{{"Squat", PropertyList::Array{PropertyList(5), "x"}}}},
      {kToday, PropertyList::Dictionary{{"Squat", "not an array"}}}};
  // Today counts as the latest day, but its entry is unreadable: nothing to offer.
  openPane("Squat");
  EXPECT_EQ(ui().reps.text(), "");
  EXPECT_TRUE(rowTexts(ui().logTableView).empty());
  // The earlier day's entry has a number where the weight text belongs.
  app().userData().exerciseLog.asDictionary()[kToday].asDictionary().clear();
  ASSERT_TRUE(finger.tapBarButton(ui().logDoneButton).ok());
  openPane("Squat");
  EXPECT_EQ(ui().weight.text(), "");
  EXPECT_EQ(ui().reps.text(), "x");
}

// A day or an entry of another kind in the file is the user's data too: the set is refused
// with one line, nothing is written, and the file keeps every byte.
TEST_F(StrengthEntryTest, ASetIsRefusedRatherThanReplacingAForeignValue) {
  const struct {
    const char* label;
    PropertyList today;
  } cases[] = {
      {"day not a dictionary", PropertyList("written by another program")},
      {"entry not an array",
       PropertyList::Dictionary{{"Squat", PropertyList::Dictionary{{"w", "1"}}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    writeDocument("Kinetra_Log.plist",
                  PropertyList::Dictionary{
                      {kToday, c.today},
                      {"Mar 1, 2024",
                       PropertyList::Dictionary{{"Squat", PropertyList::Array{"9 kg", "9", ""}}}}});
    const std::string before = readDocumentBytes("Kinetra_Log.plist");
    relaunch();
    const std::size_t linesBefore = lines().size();
    openPane("Squat");
    retype(ui().reps, "5");
    addSet();

    EXPECT_TRUE(rowTexts(ui().logTableView).empty());
    EXPECT_EQ(readDocumentBytes("Kinetra_Log.plist"), before);
    EXPECT_EQ(*app().userData().exerciseLog.find(kToday), c.today);
    ASSERT_EQ(lines().size(), linesBefore + 1);
    EXPECT_NE(lines().back().find("Set not logged"), std::string::npos) << lines().back();
    // Another exercise on a readable day still logs.
    openPane("bench press");
    addSet();
    const PropertyList saved = readDocument("Kinetra_Log.plist");
    EXPECT_EQ(LogEntry::find(saved, kToday, "bench press") != nullptr, c.today.isDictionary());
  }
}

// The latest day decides, even when its sets were all deleted: no earlier day stands in.
TEST_F(StrengthEntryTest, AnEmptiedLatestDayResetsTheFields) {
  app().userData().exerciseLog = PropertyList::Dictionary{
      {"Mar 10, 2024", PropertyList::Dictionary{{"Squat", PropertyList::Array{"60 kg", "5", ""}}}},
      {"Mar 12, 2024", PropertyList::Dictionary{{"Squat", PropertyList::Array{}}}}};
  ui().weight.setText("99");
  ui().reps.setText("9");
  ui().weightType.setSelectedSegmentIndex(1);
  openPane("Squat");
  EXPECT_EQ(ui().weight.text(), "");
  EXPECT_EQ(ui().weightDecimal.text(), "0");
  EXPECT_EQ(ui().reps.text(), "");
  EXPECT_EQ(ui().weightType.selectedSegmentIndex(), 0);
}

TEST_F(StrengthEntryTest, ATrailingPartialSetIsNoRow) {
  app().userData().exerciseLog = PropertyList::Dictionary{
      {kToday,
       PropertyList::Dictionary{{"Squat", PropertyList::Array{"10 kg", "5", "", "11 kg"}}}}};
  openPane("Squat");
  EXPECT_EQ(rowTexts(ui().logTableView), (Strings{"Set 1, 10 kg for 5 reps"}));
}

}  // namespace
}  // namespace kinetra::test
