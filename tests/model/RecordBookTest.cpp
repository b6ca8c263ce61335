#include "model/RecordBook.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/LogEntry.h"

namespace kinetra {
namespace {

class RecordBookTest : public ::testing::Test {
 protected:
  void append(const std::string& day, const std::string& exercise, const std::string& weight,
              const std::string& reps) {
    ASSERT_TRUE(LogEntry::append(log_, day, exercise, {weight, reps, ""}).ok());
    book_.setAppended(log_, day, exercise);
  }

  std::unique_ptr<DateFormatter> days_ = DateFormatter::mediumStyle({"en_US", "UTC"});
  RecordBook book_{*days_};
  PropertyList log_ = PropertyList::Dictionary{};
};

TEST_F(RecordBookTest, GathersLazilyAndOrdersDaysByDateNotByKey) {
  // In key order "Feb 10" comes before "Jan 5"; in time it is the other way round.
  append("Feb 10, 2024", "Squat", "100 lbs", "5");
  append("Jan 5, 2024", "Squat", "60 kg", "5");
  EXPECT_FALSE(book_.holds("Squat"));
  const PersonalRecords& squat = book_.of(log_, "Squat");
  EXPECT_TRUE(book_.holds("Squat"));
  EXPECT_EQ(squat.unit(), WeightUnit::kPounds);  // February's set is the latest
  EXPECT_FALSE(squat.beatsEarlierBest(*book_.dayOf("Jan 5, 2024"), 0));
  EXPECT_EQ(squat.heaviest()->day.key, "Jan 5, 2024");  // 60 kg is more than 100 lbs
}

TEST_F(RecordBookTest, DaysItCannotReadAreLeftOut) {
  log_.asDictionary()["someday"] =
      PropertyList::Dictionary{{"Squat", PropertyList::Array{"500 kg", "5", ""}}};
  log_.asDictionary()["Mar 1, 2024"] = PropertyList::Dictionary{
      {"Squat", PropertyList::Array{"100 kg", "5", "", PropertyList::Array{}, "5", "", "7"}},
      {"Bench", PropertyList::Dictionary{}}};
  log_.asDictionary()["Mar 2, 2024"] = PropertyList("not a day's dictionary");
  EXPECT_EQ(book_.of(log_, "Squat").heaviest()->weight.amount(), 100);
  EXPECT_TRUE(book_.of(log_, "Bench").empty());
  EXPECT_TRUE(book_.of(PropertyList("not a log"), "Deadlift").empty());
}

TEST_F(RecordBookTest, ForgettingAnExerciseLeavesTheOthersHeld) {
  append("Mar 1, 2024", "Squat", "100 kg", "5");
  append("Mar 1, 2024", "Bench", "60 kg", "5");
  append("Mar 2, 2024", "Bench", "70 kg", "5");
  book_.of(log_, "Squat");
  book_.of(log_, "Bench");
  book_.forget("Squat");
  EXPECT_FALSE(book_.holds("Squat"));
  EXPECT_TRUE(book_.holds("Bench"));
  book_.of(log_, "Squat");
  book_.forgetDay(log_, "Mar 2, 2024");  // only the bench was logged that day
  EXPECT_TRUE(book_.holds("Squat"));
  EXPECT_FALSE(book_.holds("Bench"));
}

// Sets added and removed at random, on days in any order: the records kept up to date are
// always those gathered afresh from the log.
TEST_F(RecordBookTest, KeptUpToDateTheyEqualAFreshGathering) {
  const std::vector<std::string> dayKeys = {"Mar 3, 2024",  "Mar 1, 2024", "Feb 28, 2024",
                                            "Mar 10, 2024", "Mar 2, 2024", "someday"};
  const std::vector<std::string> exercises = {"Squat", "Bench Press", "Deadlift"};
  const std::vector<std::string> weights = {"100 kg", "100 lbs",  "45 kg",    "220.5 lbs",
                                            "0 lbs",  "60",       "heavy kg", "",
                                            "90 kg",  "1e999 kg", "102.5 kg"};
  const std::vector<std::string> reps = {"0", "1", "5", "6", "10", "", "x", "12", "3"};
  std::mt19937 random(20241207);
  const auto pick = [&random](const std::vector<std::string>& from) -> const std::string& {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };

  int compared = 0;
  for (int step = 0; step < 3000; ++step) {
    const std::string& day = pick(dayKeys);
    const std::string& exercise = pick(exercises);
    const int operation = std::uniform_int_distribution<int>(0, 19)(random);
    if (operation < 12) {
      append(day, exercise, pick(weights), pick(reps));
    } else if (operation < 16) {
      PropertyList::Array* entry = LogEntry::find(log_, day, exercise);
      if (entry != nullptr && entry->size() >= 3) {
        const auto set =
            std::uniform_int_distribution<std::size_t>(0, entry->size() / 3 - 1)(random);
        book_.forget(exercise);
        LogEntry::removeGroup(*entry, set, 3);
      }
    } else if (operation < 17) {
      book_.forgetDay(log_, day);
      LogEntry::removeDay(log_, day);
    } else {
      ASSERT_TRUE(book_.of(log_, exercise) == book_.gather(log_, exercise))
          << "step " << step << ", " << exercise << " asked for";
    }
    for (const std::string& name : exercises) {
      if (!book_.holds(name)) continue;
      ASSERT_TRUE(book_.of(log_, name) == book_.gather(log_, name))
          << "step " << step << ", " << name;
      ++compared;
    }
  }
  EXPECT_GT(compared, 2000);
}

}  // namespace
}  // namespace kinetra
