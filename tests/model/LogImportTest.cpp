#include "model/LogImport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/ModelTestSupport.h"

namespace kinetra::test {
namespace {

using Dictionary = PropertyList::Dictionary;
using Array = PropertyList::Array;

constexpr std::string_view kWorkoutHeader =
    "Date,Workout Name,Exercise Name,Set Order,Weight,Weight Unit,Reps,RPE,Distance,"
    "Distance Unit,Seconds,Notes,Workout Notes\n";

class LogImportTest : public ::testing::Test {
 protected:
  LogImportTest() {
    for (const char* name : {"Bench Press", "Squat", " jogging", " cycling"}) {
      exercises_.push_back(std::make_shared<PropertyList>(exerciseRecord(name)));
    }
  }

  Result<LogImport::Outcome> run(std::string_view csv) const {
    return LogImport::run(csv, {strength_, cardio_, exercises_, *days_, *isoDays_});
  }

  // Runs `csv` and keeps its logs, as the application would.
  LogImport::Outcome take(std::string_view csv) {
    Result<LogImport::Outcome> outcome = run(csv);
    EXPECT_TRUE(outcome.ok()) << outcome.status().toString();
    if (!outcome.ok()) return {};
    strength_ = outcome->exerciseLog;
    cardio_ = outcome->aerobicsLog;
    return std::move(outcome).value();
  }

  std::unique_ptr<DateFormatter> days_ = DateFormatter::mediumStyle({"en_US", "UTC"});
  std::unique_ptr<DateFormatter> isoDays_ =
      DateFormatter::withPattern("yyyy-MM-dd", {"en_US_POSIX", "UTC"});
  ExerciseRecords exercises_;
  PropertyList strength_ = Dictionary{};
  PropertyList cardio_ = Dictionary{};
};

TEST_F(LogImportTest, ReadsTheExportStringForString) {
  const LogImport::Outcome outcome = take(
      "Cardio\n"
      "Date,Exercise,Set,Duration,Speed/Resistance/Distance/Jumps/Sets,"
      "Elevation/Avg HR/Incline/Steps,Calories/Laps/Matches,Notes\n"
      "\"Jan 4, 2010\",\" jogging\",\"1\",\"30\",\"5\",\"\",\"300\",\"hills, \"\"steep\"\"\"\n"
      "\n\n"
      "Exercise\n"
      "Date,Exercise,Set,Weight,Reps,Notes\n"
      "\"Jan 4, 2010\",\"Bench Press\",\"1\",\"60.5 kg\",\"8\",\"\"\n"
      "\"Jan 4, 2010\",\"Bench Press\",\"2\",\"60.5 kg\",\"6\",\" two\nlines \"\n"
      "\n"
      "\"Jan 6, 2010\",\"My Curl\",\"1\",\"20 lbs\",\"12\",\"\"\n");
  EXPECT_EQ(cardio_,
            PropertyList(Dictionary{
                {"Jan 4, 2010",
                 Dictionary{{" jogging", Array{"30", "5", "", "300", "hills, \"steep\""}}}}}));
  EXPECT_EQ(
      strength_,
      PropertyList(Dictionary{
          {"Jan 4, 2010",
           Dictionary{{"Bench Press", Array{"60.5 kg", "8", "", "60.5 kg", "6", " two\nlines "}}}},
          {"Jan 6, 2010", Dictionary{{"My Curl", Array{"20 lbs", "12", ""}}}}}));
  EXPECT_EQ(outcome.setsAdded, 4u);
  EXPECT_EQ(outcome.daysAdded, 2u);
  EXPECT_EQ(outcome.newExercises, std::vector<std::string>{"My Curl"});
  EXPECT_TRUE(outcome.exerciseLogChanged);
  EXPECT_TRUE(outcome.aerobicsLogChanged);
}

TEST_F(LogImportTest, MapsAWorkoutLogsRowsToSetsOfTheLogs) {
  std::string csv(kWorkoutHeader);
  csv +=
      "2019-01-11 12:31:54,Push,Bench Press (Barbell),W,20,kg,10,,,,,,\n"
      "2019-01-11 12:31:54,Push,Bench Press (Barbell),1,62.50,kg,8,8.5,,,,\"felt good, "
      "\"\"fast\"\"\",\n"
      "2019-01-11 12:31:54,Push,bench press,1,135,lbs,5.0,,,,,,Workout note\n"
      "2019-01-11 12:31:54,Push,Plank,1,0,,0,,,,60,,\n"
      "2019-01-11 12:31:54,Push,Rest Timer,1,0,,0,,,,0,,\n"
      "2019-01-12 07:00:00,Cardio,Running,1,,,,,5.2,km,1800,\"easy\nrun\",\n"
      "2019-01-12 07:00:00,Cardio,Cycling (Indoor),1,,,,,20,km,3690,,\n"
      "2019-01-12 07:00:00,Legs,Leg Press / Sled,1,100,,10,,,,,,\n";
  const LogImport::Outcome outcome = take(csv);
  EXPECT_EQ(strength_,
            PropertyList(Dictionary{
                {"Jan 11, 2019",
                 Dictionary{{"Bench Press (Barbell)", Array{"20 kg", "10", "warm-up", "62.5 kg",
                                                            "8", "felt good, \"fast\"; RPE 8.5"}},
                            {"Bench Press", Array{"135 lbs", "5", ""}},
                            {"Plank", Array{"0 kg", "0", "1 min"}}}},
                {"Jan 12, 2019", Dictionary{{"Leg Press - Sled", Array{"100 kg", "10", ""}}}}}));
  EXPECT_EQ(
      cardio_,
      PropertyList(Dictionary{
          {"Jan 12, 2019", Dictionary{{" jogging", Array{"30", "5.2 km", "", "", "easy\nrun"}},
                                      {" cycling", Array{"61.5", "", "", "", "20 km"}}}}}));
  EXPECT_EQ(outcome.setsAdded, 7u);
  EXPECT_EQ(outcome.daysAdded, 2u);
  EXPECT_EQ(outcome.newExercises,
            (std::vector<std::string>{"Bench Press (Barbell)", "Plank", "Leg Press - Sled"}));
}

TEST_F(LogImportTest, ReadsSemicolonsWithDecimalCommasAndAMissingUnitColumn) {
  take(
      "\xEF\xBB\xBF"
      "Date;Exercise Name;Set Order;Weight;Reps;Notes\r\n"
      "2020-03-01 10:00:00;Squat;1;102,5;5;\"a;b\"\r\n");
  EXPECT_EQ(strength_, PropertyList(Dictionary{
                           {"Mar 1, 2020", Dictionary{{"Squat", Array{"102.5 kg", "5", "a;b"}}}}}));
}

TEST_F(LogImportTest, SkipsAndCountsTheSetsOfADayAndExerciseAlreadyLogged) {
  strength_ = Dictionary{
      {"Jan 11, 2019", Dictionary{{"Squat", Array{"100 kg", "5", ""}}, {"Bench Press", Array{}}}}};
  std::string csv(kWorkoutHeader);
  csv +=
      "2019-01-11 12:00:00,A,Squat,1,90,kg,5,,,,,,\n"
      "2019-01-11 12:00:00,A,Bench Press,1,60,kg,5,,,,,,\n"
      "2019-01-11 12:00:00,A,Squat,2,95,kg,5,,,,,,\n"
      "2019-01-12 12:00:00,A,Squat,1,90,kg,5,,,,,,\n";
  const LogImport::Outcome outcome = take(csv);
  EXPECT_EQ(outcome.setsSkipped, 2u);
  EXPECT_EQ(outcome.setsAdded, 2u);
  EXPECT_EQ(outcome.daysAdded, 2u);
  const Dictionary& day = strength_.asDictionary().at("Jan 11, 2019").asDictionary();
  EXPECT_EQ(day.at("Squat"), PropertyList(Array{"100 kg", "5", ""}));       // kept as it was
  EXPECT_EQ(day.at("Bench Press"), PropertyList(Array{"60 kg", "5", ""}));  // was empty
  EXPECT_EQ(LogImport::summary(outcome), "Imported 2 sets on 2 days; skipped 2 already logged.");
}

TEST_F(LogImportTest, ImportingTheSameFileTwiceAddsNothingTheSecondTime) {
  std::string csv(kWorkoutHeader);
  csv +=
      "2019-01-11 12:00:00,A,Deadlift,1,140,kg,3,,,,,,\n"
      "2019-01-11 12:00:00,A,Deadlift,2,150,kg,2,,,,,,\n"
      "2019-01-11 12:00:00,A,Running,1,,,,,3,km,900,,\n";
  EXPECT_EQ(take(csv).setsAdded, 3u);
  const PropertyList strength = strength_;
  const PropertyList cardio = cardio_;
  const LogImport::Outcome again = take(csv);
  EXPECT_EQ(again.setsAdded, 0u);
  EXPECT_EQ(again.setsSkipped, 3u);
  EXPECT_FALSE(again.exerciseLogChanged);
  EXPECT_FALSE(again.aerobicsLogChanged);
  EXPECT_TRUE(again.newExercises.empty());
  EXPECT_EQ(strength_, strength);
  EXPECT_EQ(cardio_, cardio);
  EXPECT_EQ(LogImport::summary(again), "Imported 0 sets; skipped 3 already logged.");
}

TEST_F(LogImportTest, SummaryGroupsThousandsAndCountsOne) {
  LogImport::Outcome outcome;
  outcome.setsAdded = 1234;
  outcome.daysAdded = 210;
  outcome.setsSkipped = 12;
  EXPECT_EQ(LogImport::summary(outcome),
            "Imported 1,234 sets on 210 days; skipped 12 already logged.");
  outcome = {};
  outcome.setsAdded = 1;
  outcome.daysAdded = 1;
  EXPECT_EQ(LogImport::summary(outcome), "Imported 1 set on 1 day.");
}

TEST_F(LogImportTest, RefusesFilesItCannotReadWhole) {
  struct Case {
    std::string csv;
    std::string message;
  };
  const std::string header(kWorkoutHeader);
  const std::vector<Case> cases = {
      {"Name,Weight\nBench,60\n", "its columns are not a Kinetra export or a workout log's."},
      {"", "its columns are not a Kinetra export or a workout log's."},
      {header + "2019-01-11 12:00:00,A,Squat,1,90,kg,5\n", "line 2 has 7 fields, not 13."},
      {header + "11/01/2019,A,Squat,1,90,kg,5,,,,,,\n",
       "line 2 has no date like 2019-01-11 12:31:54."},
      {header + "2019-02-30 12:00:00,A,Squat,1,90,kg,5,,,,,,\n",
       "line 2 has no date like 2019-01-11 12:31:54."},
      {header + "2019-01-11 12:00:00,A,Squat,1,-20,kg,5,,,,,,\n",
       "line 2 has a weight that is not a number."},
      {header + "2019-01-11 12:00:00,A,Squat,1,20,kg,5.5,,,,,,\n",
       "line 2 has a repetition count that is not a whole number."},
      {header + "2019-01-11 12:00:00,A,Squat,1,20,stone,5,,,,,,\n",
       "line 2 has a weight unit other than kg or lbs."},
      {header + "2019-01-11 12:00:00,A, ,1,20,kg,5,,,,,,\n", "line 2 has no exercise name."},
      {header + "2019-01-11 12:00:00,A," + std::string(201, 'x') + ",1,20,kg,5,,,,,,\n",
       "line 2 has too long a name."},
      {header + "2019-01-11 12:00:00,A,Squat,1,20,kg,5,,,,,\"open\n",
       "a quote is left open on line 2."},
      {"Exercise\nDate,Exercise,Set,Weight,Reps\n", "line 2 is not the export's strength header."},
      {"Exercise\nDate,Exercise,Set,Weight,Reps,Notes\n\"Jan 4, 2010\",\"Squat\",\"1\",\"60 kg\"\n",
       "line 3 has 4 fields, not 6."},
      {"Exercise\nDate,Exercise,Set,Weight,Reps,Notes\n\"4.1.2010\",\"Squat\",\"1\",\"60 "
       "kg\",\"5\",\"\"\n",
       "line 3 has no date the log can read."},
      {"Exercise\nDate,Exercise,Set,Weight,Reps,Notes\n\"Jan 4, 2010\",\" jogging\",\"1\",\"60 "
       "kg\",\"5\",\"\"\n",
       "line 3 names a cardio exercise among the strength rows."},
      {"Cardio\nDate,Exercise,Set,Duration,Speed/Resistance/Distance/Jumps/Sets,"
       "Elevation/Avg HR/Incline/Steps,Calories/Laps/Matches,Notes\n"
       "\"Jan 4, 2010\",\"Squat\",\"1\",\"30\",\"\",\"\",\"\",\"\"\n",
       "line 3 names a strength exercise among the cardio rows."},
      {"Exercise\nDate,Exercise,Set,Weight,Reps,Notes\n\"Jan 4, 2010\",\"Squat\",\"x\",\"60 "
       "kg\",\"5\",\"\"\n",
       "line 3 has no set number."},
  };
  for (const Case& c : cases) {
    const Result<LogImport::Outcome> outcome = run(c.csv);
    ASSERT_FALSE(outcome.ok()) << c.csv;
    EXPECT_EQ(outcome.status().message(), c.message) << c.csv;
  }
  const Result<LogImport::Outcome> huge = run(std::string(LogImport::kMaxBytes + 1, 'a'));
  ASSERT_FALSE(huge.ok());
  EXPECT_EQ(huge.status().code(), Status::Code::kTooLarge);
}

}  // namespace
}  // namespace kinetra::test
