#include "model/UserData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "foundation/ManualClock.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "model/ModelTestSupport.h"
#include "model/UserFileStore.h"
#include "support/TemporaryDirectory.h"

namespace kinetra::test {
namespace {

class UserDataTest : public ::testing::Test {
 protected:
  UserDataTest() {
    loop_.log().setSink([](std::string_view) {});
  }

  std::filesystem::path documents() const { return folder_ / "Documents"; }

  testing::TemporaryDirectory folder_;
  RunLoop loop_{std::make_unique<ManualClock>(Date(1.7e9))};
  UserFileStore files_{DocumentsDirectory(documents()), loop_};
  UserData data_{files_};
};

TEST_F(UserDataTest, LoadsWhatIsThereAndSavesEachFieldToItsOwnFile) {
  std::filesystem::create_directories(documents());
  ASSERT_TRUE(writePropertyList(documents() / "Custom_Exercises.plist",
                                PropertyList::Array{exerciseRecord("Mine")})
                  .ok());
  data_.load();
  EXPECT_EQ(namesOf(data_.customExercises), std::vector<std::string>{"Mine"});
  EXPECT_EQ(data_.workouts, PropertyList(PropertyList::Array{}));  // not there: stays empty

  data_.customExercises.push_back(nullptr);  // a hole in the list is never written
  data_.settings.asDictionary()["email"] = "me@example.org";
  ASSERT_TRUE(data_.saveCustomExercises().ok());
  ASSERT_TRUE(data_.saveSettings().ok());

  UserData again(files_);
  again.load();
  EXPECT_EQ(namesOf(again.customExercises), std::vector<std::string>{"Mine"});
  EXPECT_EQ(again.settings, data_.settings);
  EXPECT_FALSE(std::filesystem::exists(documents() / "Workouts.plist"));
}

TEST_F(UserDataTest, ASupersededFileGoesOnlyAfterTheWorkoutsAreSafelySaved) {
  const std::filesystem::path old = folder_ / "Kinetra.plist";
  std::ofstream(old) << "old";
  data_.removeAfterWorkoutsSaved(old);
  data_.workouts.asArray().emplace_back(PropertyList::Array{"Current Workout"});

  std::ofstream(documents()) << "not a folder";  // the save cannot write
  EXPECT_FALSE(data_.saveWorkouts().ok());
  EXPECT_TRUE(std::filesystem::exists(old));
  EXPECT_FALSE(data_.saveExerciseLog().ok());
  EXPECT_TRUE(std::filesystem::exists(old));  // only the workouts' save counts

  std::filesystem::remove(documents());
  ASSERT_TRUE(data_.saveWorkouts().ok());
  EXPECT_FALSE(std::filesystem::exists(old));
}

// Saving the days a change touched writes what a whole save writes. A save that fails keeps the
// change, and the next save, naming only its own day, carries both; a log left unreadable at
// start-up is still kept aside first.
TEST_F(UserDataTest, SavingTheChangedDaysWritesTheWholeLogAndCarriesAFailedChange) {
  const auto logFile = documents() / "Kinetra_Log.plist";
  std::filesystem::create_directories(documents());
  std::ofstream(logFile) << "<plist>not a log";
  data_.load();
  PropertyList::Dictionary& days = data_.exerciseLog.asDictionary();
  days["2024-01-01"] = PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 kg", "5", ""}}};
  const std::vector<std::string> first = {"2024-01-01"};
  ASSERT_TRUE(data_.saveExerciseLog(first).ok());
  EXPECT_EQ(::kinetra::testing::fileContents(logFile),
            *PropertyListWriter::serialise(data_.exerciseLog));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(documents()), {}), 2);  // aside

  std::filesystem::remove(logFile);
  std::filesystem::create_directory(logFile);  // the rename cannot replace a folder
  days["2024-01-02"] = PropertyList::Dictionary{{"Row", PropertyList::Array{"60 kg", "8", ""}}};
  const std::vector<std::string> second = {"2024-01-02"};
  EXPECT_FALSE(data_.saveExerciseLog(second).ok());
  std::filesystem::remove(logFile);

  days["2024-01-03"] = PropertyList::Dictionary{{"Curl", PropertyList::Array{"12 kg", "10", ""}}};
  days.erase("2024-01-01");
  const std::vector<std::string> third = {"2024-01-03", "2024-01-01"};
  ASSERT_TRUE(data_.saveExerciseLog(third).ok());
  EXPECT_EQ(::kinetra::testing::fileContents(logFile),
            *PropertyListWriter::serialise(data_.exerciseLog));
  UserData again(files_);
  again.load();
  EXPECT_EQ(again.exerciseLog, data_.exerciseLog);
  EXPECT_EQ(again.exerciseLog.asDictionary().size(), 2u);
}

// Readying the logs writes nothing (a log that did not read stays as it is); the first change
// saved afterwards writes the whole log, the untouched days from the bytes readied.
TEST_F(UserDataTest, ReadyingTheLogsWritesNothingAndTheFirstChangeStillWritesTheWholeLog) {
  std::filesystem::create_directories(documents());
  const auto logFile = documents() / "Kinetra_Log.plist";
  const PropertyList loaded = PropertyList::Dictionary{
      {"2024-01-01", PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 kg", "5", ""}}}},
      {"2024-01-02", PropertyList::Dictionary{{"Row", PropertyList::Array{"60 kg", "8", ""}}}}};
  ASSERT_TRUE(writePropertyList(logFile, loaded).ok());
  const auto aerobicsFile = documents() / "Kinetra_Aerobics_Log.plist";
  std::ofstream(aerobicsFile) << "<plist>not a log";
  const std::string logBytes = ::kinetra::testing::fileContents(logFile);
  data_.load();
  data_.prepareLogChanges();
  EXPECT_EQ(::kinetra::testing::fileContents(logFile), logBytes);
  EXPECT_EQ(::kinetra::testing::fileContents(aerobicsFile), "<plist>not a log");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(documents()), {}), 2);

  data_.exerciseLog.asDictionary()["2024-01-02"].asDictionary()["Curl"] =
      PropertyList::Array{"12 kg", "10", ""};
  const std::vector<std::string> changed = {"2024-01-02"};
  ASSERT_TRUE(data_.saveExerciseLog(changed).ok());
  EXPECT_EQ(::kinetra::testing::fileContents(logFile),
            *PropertyListWriter::serialise(data_.exerciseLog));
}

}  // namespace
}  // namespace kinetra::test
