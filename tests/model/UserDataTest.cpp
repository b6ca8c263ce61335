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

}  // namespace
}  // namespace kinetra::test
