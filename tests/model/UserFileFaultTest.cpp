// Every user file's save, driven through UserData as the screens drive it, with each step of the
// atomic write failing in turn (FaultyFileSystem): the old file stays byte-identical, no
// temporary file is left, one diagnostic line says so, the change stays in memory and the next
// save carries it. Interrupted and short writes are retried and write the right bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "foundation/AtomicFile.h"
#include "foundation/ManualClock.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "model/ModelTestSupport.h"
#include "model/UserData.h"
#include "model/UserFileStore.h"
#include "support/FaultyFileSystem.h"
#include "support/TemporaryDirectory.h"

namespace kinetra::test {
namespace {

using Call = testing::FaultyFileSystem::Call;
using Fault = testing::FaultyFileSystem::Fault;
constexpr int kShort = testing::FaultyFileSystem::kShortWrite;

std::string day(int generation) { return "2024-03-" + std::to_string(10 + generation); }

std::string pictureBytes(int generation) {
  return "\x89PNG picture " + std::to_string(generation) + std::string(4000, 'p');
}

// One user file and the change a screen makes to it: `change` makes the generation's change in
// memory, `save` saves it the screen's way, `expected` is what the file must then hold.
struct FileCase {
  const char* name;
  std::string fileName;
  std::function<void(UserData&, int)> change;
  std::function<Status(UserData&, int)> save;
  std::function<std::string(UserData&, int)> expected;

  friend void PrintTo(const FileCase& file, std::ostream* out) { *out << file.name; }
};

std::string serialised(const PropertyList& value) {
  return PropertyListWriter::serialise(value).value();
}

std::vector<FileCase> fileCases() {
  return {
      {"ExerciseLog", "Kinetra_Log.plist",
       [](UserData& data, int g) {  // a set added on the generation's day
         data.exerciseLog.asDictionary()[day(g)] = PropertyList::Dictionary{
             {"Squat", PropertyList::Array{std::to_string(100 + g) + " kg", "5", ""}}};
       },
       [](UserData& data, int g) {
         const std::vector<std::string> days = {day(g)};
         return data.saveExerciseLog(days);
       },
       [](UserData& data, int) { return serialised(data.exerciseLog); }},
      {"AerobicsLog", "Kinetra_Aerobics_Log.plist",
       [](UserData& data, int g) {
         data.aerobicsLog.asDictionary()[day(g)] = PropertyList::Dictionary{
             {"Running", PropertyList::Array{std::to_string(20 + g), "5 km", ""}}};
       },
       [](UserData& data, int g) {
         const std::vector<std::string> days = {day(g)};
         return data.saveAerobicsLog(days);
       },
       [](UserData& data, int) { return serialised(data.aerobicsLog); }},
      {"Workouts", "Workouts.plist",
       [](UserData& data, int g) {
         data.workouts.asArray().emplace_back(
             PropertyList::Array{"Workout " + std::to_string(g), "Squat", "Push Up"});
       },
       [](UserData& data, int) { return data.saveWorkouts(); },
       [](UserData& data, int) { return serialised(data.workouts); }},
      {"CustomExercises", "Custom_Exercises.plist",
       [](UserData& data, int g) {
         data.customExercises.push_back(
             std::make_shared<PropertyList>(exerciseRecord("Mine " + std::to_string(g))));
       },
       [](UserData& data, int) { return data.saveCustomExercises(); },
       [](UserData& data, int) {
         PropertyList::Array records;
         for (const ExerciseRecord& record : data.customExercises) records.push_back(*record);
         return serialised(PropertyList(std::move(records)));
       }},
      {"Picture", "Mine.jpg", [](UserData&, int) {},
       [](UserData& data, int g) { return data.savePicture("Mine.jpg", pictureBytes(g)); },
       [](UserData&, int g) { return pictureBytes(g); }},
      {"Settings", "settings.plist",
       [](UserData& data, int g) {
         data.settings.asDictionary()["email"] = "me" + std::to_string(g) + "@example.org";
       },
       [](UserData& data, int) { return data.saveSettings(); },
       [](UserData& data, int) { return serialised(data.settings); }},
  };
}

// The faults of one save, and what it comes to.
enum class Outcome {
  kFails,             // the old file stays
  kFailsAfterRename,  // the new file is in place, its durability unknown: reported all the same
  kSucceeds,          // retried to success
};

struct FaultCase {
  const char* name;
  std::vector<Fault> faults;
  Outcome outcome;

  friend void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.name; }
};

std::vector<FaultCase> faultCases() {
  return {
      {"CreateDenied", {{Call::kCreate, 1, EACCES}}, Outcome::kFails},
      {"CreateNoSpace", {{Call::kCreate, 1, ENOSPC}}, Outcome::kFails},
      {"CreateIOError", {{Call::kCreate, 1, EIO}}, Outcome::kFails},
      {"WriteIOError", {{Call::kWrite, 1, EIO}}, Outcome::kFails},
      {"WriteNoSpace", {{Call::kWrite, 1, ENOSPC}}, Outcome::kFails},
      {"WriteOverQuota", {{Call::kWrite, 1, EDQUOT}}, Outcome::kFails},
      {"NoSpaceAfterAShortWrite",
       {{Call::kWrite, 1, kShort}, {Call::kWrite, 2, ENOSPC}},
       Outcome::kFails},
      {"IOErrorAfterAnInterruptedWrite",
       {{Call::kWrite, 1, EINTR}, {Call::kWrite, 2, EIO}},
       Outcome::kFails},
      {"SyncIOError", {{Call::kSync, 1, EIO}}, Outcome::kFails},
      {"CloseIOError", {{Call::kClose, 1, EIO}}, Outcome::kFails},
      {"RenameIOError", {{Call::kRename, 1, EIO}}, Outcome::kFails},
      {"RenameAcrossDevices", {{Call::kRename, 1, EXDEV}}, Outcome::kFails},
      {"FolderSyncIOError", {{Call::kSyncDirectory, 1, EIO}}, Outcome::kFailsAfterRename},
      {"InterruptedWrite", {{Call::kWrite, 1, EINTR}}, Outcome::kSucceeds},
      {"ShortWrite", {{Call::kWrite, 1, kShort}}, Outcome::kSucceeds},
      {"ShortInterruptedShortWrites",
       {{Call::kWrite, 1, kShort}, {Call::kWrite, 2, EINTR}, {Call::kWrite, 3, kShort}},
       Outcome::kSucceeds},
  };
}

// A documents folder whose files are written through a FaultyFileSystem, with the run loop's
// diagnostic lines collected.
class FaultyDocuments {
 protected:
  FaultyDocuments() {
    loop_.log().setSink([this](std::string_view line) { lines_.emplace_back(line); });
  }

  std::filesystem::path documents() const { return folder_ / "Documents"; }

  testing::TemporaryDirectory folder_;
  std::vector<std::string> lines_;
  RunLoop loop_{std::make_unique<ManualClock>(Date(1.7e9))};
  testing::FaultyFileSystem fileSystem_;
  UserFileStore files_{DocumentsDirectory(documents()), loop_, fileSystem_};
  UserData data_{files_};
};

class UserFileFaultTest : public ::testing::TestWithParam<std::tuple<FileCase, FaultCase>>,
                          protected FaultyDocuments {
 protected:
  std::filesystem::path file() const { return documents() / std::get<0>(GetParam()).fileName; }

  // Names in the folder other than the user's files: temporary files of any write.
  std::vector<std::string> strayNames() const {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(documents())) {
      const std::string name = entry.path().filename().string();
      if (name.find(".tmp-") != std::string::npos) stray.push_back(name);
    }
    return stray;
  }
};

TEST_P(UserFileFaultTest, TheOldFileStaysAndTheNextSaveCarriesTheChange) {
  const FileCase& file = std::get<0>(GetParam());
  const FaultCase& fault = std::get<1>(GetParam());

  file.change(data_, 1);
  ASSERT_TRUE(file.save(data_, 1).ok());
  const std::string old = testing::fileContents(this->file());
  ASSERT_EQ(old, file.expected(data_, 1));

  file.change(data_, 2);
  for (const Fault& each : fault.faults) fileSystem_.add(each);
  const Status saved = file.save(data_, 2);
  fileSystem_.clearFaults();
  const std::string wanted = file.expected(data_, 2);
  ASSERT_NE(wanted, old);

  EXPECT_TRUE(strayNames().empty()) << strayNames()[0];
  EXPECT_FALSE(fileSystem_.retriedAFailedSync());
  if (fault.outcome == Outcome::kSucceeds) {
    EXPECT_TRUE(saved.ok()) << saved.toString();
    EXPECT_EQ(testing::fileContents(this->file()), wanted);
    EXPECT_TRUE(lines_.empty()) << lines_[0];
    return;
  }
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(saved.code(), Status::Code::kIOError) << saved.toString();
  EXPECT_EQ(testing::fileContents(this->file()), fault.outcome == Outcome::kFails ? old : wanted);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_NE(lines_[0].find(file.fileName), std::string::npos) << lines_[0];

  // The change is still in memory, and the next save, naming only its own change, carries it.
  EXPECT_EQ(file.expected(data_, 2), wanted);
  file.change(data_, 3);
  ASSERT_TRUE(file.save(data_, 3).ok());
  const std::string carried = testing::fileContents(this->file());
  EXPECT_EQ(carried, file.expected(data_, 3));
  UserFileStore again(DocumentsDirectory(documents()), loop_);
  UserData reloaded(again);
  reloaded.load();
  EXPECT_EQ(file.expected(reloaded, 3), carried);
  EXPECT_TRUE(strayNames().empty());
  EXPECT_EQ(lines_.size(), 1u);
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<FileCase, FaultCase>>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryStep, UserFileFaultTest,
                         ::testing::Combine(::testing::ValuesIn(fileCases()),
                                            ::testing::ValuesIn(faultCases())),
                         caseName);

class UserFileStoreFaultTest : public ::testing::Test, protected FaultyDocuments {
 protected:
  UserFileStoreFaultTest() { std::filesystem::create_directories(documents()); }

  // A set logged on generation `g`'s day and saved naming that day alone.
  static Status logAndSave(UserData& data, int g) {
    data.exerciseLog.asDictionary()[day(g)] =
        PropertyList::Dictionary{{"Squat", PropertyList::Array{std::to_string(g), "5", ""}}};
    const std::vector<std::string> changed = {day(g)};
    return data.saveExerciseLog(changed);
  }
  // How many copies from a file written before the saves so far made.
  long copies() const {
    return std::count_if(fileSystem_.calls().begin(), fileSystem_.calls().end(),
                         [](const auto& call) { return call.call == Call::kCopyRange; });
  }
};

// Where the folder has no hard links the unreadable log is renamed aside; a save that then fails
// leaves its bytes under that name, and the next save writes the log without touching them.
TEST_F(UserFileStoreFaultTest, AnUnreadableLogKeptAsideByRenameSurvivesAFailedSave) {
  const std::string unreadable = "<plist>not a log";
  std::ofstream(documents() / "Kinetra_Log.plist") << unreadable;
  data_.load();
  data_.exerciseLog.asDictionary()[day(1)] =
      PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 kg", "5", ""}}};
  fileSystem_.add({Call::kLink, 1, EPERM});
  fileSystem_.add({Call::kRename, 2, EIO});  // the first rename keeps the file aside
  EXPECT_FALSE(data_.saveExerciseLog().ok());
  fileSystem_.clearFaults();

  const std::string aside = "Kinetra_Log.plist.unreadable-" + [] {
    char text[32];
    const std::time_t moment = 1'700'000'000;
    std::tm local{};
    ::localtime_r(&moment, &local);
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return std::string(text);
  }();
  EXPECT_EQ(testing::fileContents(documents() / aside), unreadable);
  EXPECT_FALSE(std::filesystem::exists(documents() / "Kinetra_Log.plist"));
  ASSERT_EQ(lines_.size(), 2u);  // kept aside; could not save
  EXPECT_NE(lines_[0].find(aside), std::string::npos) << lines_[0];
  EXPECT_NE(lines_[1].find("could not save Kinetra_Log.plist"), std::string::npos) << lines_[1];

  ASSERT_TRUE(data_.saveExerciseLog().ok());
  EXPECT_EQ(testing::fileContents(documents() / "Kinetra_Log.plist"),
            serialised(data_.exerciseLog));
  EXPECT_EQ(testing::fileContents(documents() / aside), unreadable);
  EXPECT_EQ(lines_.size(), 2u);
}

// A leftover that cannot be removed at start-up is counted in the one line and tried again at the
// next start.
TEST_F(UserFileStoreFaultTest, ALeftoverThatCannotBeRemovedIsSaidOnceAndRemovedNextTime) {
  const std::string leftover = ".settings.plist.tmp-0123456789abcdef";
  std::ofstream(documents() / leftover) << "half";
  std::ofstream(documents() / ".Kinetra_Log.plist.tmp-fedcba9876543210") << "half a log";
  fileSystem_.add({Call::kUnlink, 1, EACCES});
  files_.removeInterruptedWrites();
  fileSystem_.clearFaults();
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_NE(lines_[0].find("removed 1 temporary file"), std::string::npos) << lines_[0];
  EXPECT_NE(lines_[0].find("1 more could not be removed"), std::string::npos) << lines_[0];
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(documents()), {}), 1);

  files_.removeInterruptedWrites();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(documents()), {}), 0);
  EXPECT_EQ(lines_.size(), 2u);
}

// The older version's file goes through the same file system as the saves: a removal that fails
// is one line, and the saved workouts are not undone by it.
TEST_F(UserFileStoreFaultTest, ASupersededFileThatCannotBeRemovedIsOneLine) {
  const std::filesystem::path old = folder_ / "Kinetra.plist";
  std::ofstream(old) << "old";
  data_.removeAfterWorkoutsSaved(old);
  data_.workouts.asArray().emplace_back(PropertyList::Array{"Current Workout"});
  fileSystem_.add({Call::kUnlink, 1, EACCES});
  EXPECT_TRUE(data_.saveWorkouts().ok());
  fileSystem_.clearFaults();
  EXPECT_TRUE(std::filesystem::exists(old));
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_NE(lines_[0].find("could not remove Kinetra.plist"), std::string::npos) << lines_[0];
  EXPECT_EQ(testing::fileContents(documents() / "Workouts.plist"), serialised(data_.workouts));
}

// A picture whose save failed is kept in memory and carried by the next save of the custom
// exercises (the record naming it is saved either way); a retry that fails keeps it again. The
// editor's pictures take the same way from the start.
TEST_F(UserFileStoreFaultTest, APictureWhoseSaveFailedIsSavedWithTheCustomExercises) {
  const std::string photo = pictureBytes(1);
  fileSystem_.add({Call::kWrite, 1, ENOSPC});
  EXPECT_FALSE(data_.savePicture("Mine.jpg", photo).ok());
  fileSystem_.clearFaults();
  EXPECT_FALSE(std::filesystem::exists(documents() / "Mine.jpg"));
  ASSERT_NE(data_.unsavedPicture("Mine.jpg"), nullptr);
  EXPECT_EQ(*data_.unsavedPicture("Mine.jpg"), photo);

  data_.customExercises.push_back(std::make_shared<PropertyList>(exerciseRecord("Mine")));
  fileSystem_.add({Call::kCreate, 1, EIO});  // the picture's retry; the records' save succeeds
  const Status retried = data_.saveCustomExercises();
  fileSystem_.clearFaults();
  EXPECT_EQ(retried.code(), Status::Code::kIOError);
  EXPECT_TRUE(std::filesystem::exists(documents() / "Custom_Exercises.plist"));
  EXPECT_NE(data_.unsavedPicture("Mine.jpg"), nullptr);

  ASSERT_TRUE(data_.saveCustomExercises().ok());
  EXPECT_EQ(testing::fileContents(documents() / "Mine.jpg"), photo);
  EXPECT_EQ(data_.unsavedPicture("Mine.jpg"), nullptr);
  EXPECT_EQ(lines_.size(), 2u);  // the failed save and the failed retry

  // A later pick saved at once replaces a kept one, which is then never written over it.
  fileSystem_.add({Call::kRename, 1, EIO});
  EXPECT_FALSE(data_.savePicture("Mine.jpg", pictureBytes(2)).ok());
  fileSystem_.clearFaults();
  ASSERT_TRUE(data_.savePicture("Mine.jpg", pictureBytes(3)).ok());
  EXPECT_EQ(data_.unsavedPicture("Mine.jpg"), nullptr);
  ASSERT_TRUE(data_.saveCustomExercises().ok());
  EXPECT_EQ(testing::fileContents(documents() / "Mine.jpg"), pictureBytes(3));

  // A picture given to be saved with the records is written by their save, once.
  data_.keepPicture("Mine_t.jpg", pictureBytes(4));
  EXPECT_FALSE(std::filesystem::exists(documents() / "Mine_t.jpg"));
  ASSERT_NE(data_.unsavedPicture("Mine_t.jpg"), nullptr);
  ASSERT_TRUE(data_.saveCustomExercises().ok());
  EXPECT_EQ(testing::fileContents(documents() / "Mine_t.jpg"), pictureBytes(4));
  EXPECT_EQ(data_.unsavedPicture("Mine_t.jpg"), nullptr);
}

// A log save takes the unchanged days from the file written last. When that fails (the old file
// cannot be read or copied from) the save is reported like any other, the old file stays, and the
// next save writes everything from memory, carrying the change.
TEST_F(UserFileStoreFaultTest, ASaveThatCannotTakeTheOldDaysReportsItAndTheNextCarriesAll) {
  const auto logFile = documents() / "Kinetra_Log.plist";
  data_.load();
  const auto change = [&](int g) { return logAndSave(data_, g); };
  for (int g = 1; g <= 5; ++g) ASSERT_TRUE(change(g).ok());
  int g = 6;
  for (const int error : {EIO, ENOSPC}) {
    const std::string old = testing::fileContents(logFile);
    fileSystem_.add({Call::kCopyRange, 1, error});
    EXPECT_EQ(change(g++).code(), Status::Code::kIOError);
    fileSystem_.clearFaults();
    EXPECT_EQ(testing::fileContents(logFile), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(documents()), {}), 1);

    const auto before = copies();
    ASSERT_TRUE(change(g++).ok());
    EXPECT_EQ(testing::fileContents(logFile), serialised(data_.exerciseLog));
    EXPECT_EQ(copies(), before) << "after a failure everything is written from memory";
    // The save after that copies again, from the file just written.
    ASSERT_TRUE(change(g++).ok());
    EXPECT_EQ(testing::fileContents(logFile), serialised(data_.exerciseLog));
    EXPECT_GT(copies(), before);
  }
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_NE(lines_[1].find("Kinetra_Log.plist"), std::string::npos) << lines_[1];
}

// Days are only taken from the file if it is still the one written, unchanged: rewritten in
// place or replaced by another file, it lends nothing and the save writes the log from memory.
TEST_F(UserFileStoreFaultTest, AFileChangedBehindTheStoresBackLendsNothing) {
  const auto logFile = documents() / "Kinetra_Log.plist";
  data_.load();
  const auto change = [&](int g) { return logAndSave(data_, g); };
  for (int g = 1; g <= 4; ++g) ASSERT_TRUE(change(g).ok());
  // Rewritten in place, longer; then replaced by a file of the same size.
  std::ofstream(logFile, std::ios::trunc) << std::string(50000, 'x');
  ASSERT_TRUE(change(5).ok());
  EXPECT_EQ(testing::fileContents(logFile), serialised(data_.exerciseLog));
  const std::string size(testing::fileContents(logFile).size(), 'y');
  std::ofstream(documents() / "other") << size;
  std::filesystem::rename(documents() / "other", logFile);
  ASSERT_TRUE(change(6).ok());
  EXPECT_EQ(testing::fileContents(logFile), serialised(data_.exerciseLog));
  // Removed: the next save writes it anew.
  std::filesystem::remove(logFile);
  ASSERT_TRUE(change(7).ok());
  EXPECT_EQ(testing::fileContents(logFile), serialised(data_.exerciseLog));
  EXPECT_TRUE(lines_.empty()) << lines_[0];
}

// Readied at start-up, a log written as this program writes it lends its days from the first
// save on; one written otherwise (another writer's layout) is kept in memory and saved right.
TEST_F(UserFileStoreFaultTest, ALoadedLogLendsItsDaysWhenItHoldsThemAsWritten) {
  const auto logFile = documents() / "Kinetra_Log.plist";
  PropertyList log = PropertyList::Dictionary{};
  for (int g = 1; g <= 6; ++g) {
    log.asDictionary()[day(g)] =
        PropertyList::Dictionary{{"Squat", PropertyList::Array{std::to_string(g), "5", ""}}};
  }
  const std::string canonical = serialised(log);
  std::string otherLayout = canonical;
  for (std::size_t tab; (tab = otherLayout.find('\t')) != std::string::npos;) {
    otherLayout.replace(tab, 1, "  ");
  }
  for (const std::string& bytes : {canonical, otherLayout}) {
    std::ofstream(logFile, std::ios::trunc) << bytes;
    UserFileStore files(DocumentsDirectory(documents()), loop_, fileSystem_);
    UserData data(files);
    data.load();
    data.prepareLogChanges();
    const long copiesBefore = copies();
    data.exerciseLog.asDictionary()[day(3)].asDictionary()["Curl"] =
        PropertyList::Array{"12 kg", "10", ""};
    const std::vector<std::string> changed = {day(3)};
    ASSERT_TRUE(data.saveExerciseLog(changed).ok());
    EXPECT_EQ(testing::fileContents(logFile), serialised(data.exerciseLog));
    const long copied = copies() - copiesBefore;
    EXPECT_EQ(copied > 0, bytes == canonical) << copied;
  }
  EXPECT_TRUE(lines_.empty()) << lines_[0];
}

}  // namespace
}  // namespace kinetra::test
