// The user's files: loading by kind, keeping unreadable files, whole-file writes and their
// failures, the migration of the older single workout, and custom records shared between the
// lists.
#include "app/AppTestSupport.h"

#include <sys/resource.h>

#include <csignal>

namespace kinetra::test {
namespace {

using StoredFilesTest = AppTest;

bool anyLineContains(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

TEST_F(StoredFilesTest, ReadableFilesReplaceTheirDefaults) {
  const PropertyList log = PropertyList::Dictionary{
      {"Mar 19, 2024",
       PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 kg", "5", ""}}}}};
  writeDocument("Kinetra_Log.plist", log);
  writeDocument("settings.plist", PropertyList::Dictionary{{"email", "me@example.org"}});
  writeDocument("Workouts.plist", PropertyList::Array{PropertyList::Array{"Legs", "Squat"}});
  VelomarAppDelegate& state = launch();
  EXPECT_EQ(state.userData().exerciseLog, log);
  EXPECT_EQ(state.userData().settings.find("email")->asString(), "me@example.org");
  EXPECT_EQ(state.userData().workouts.asArray().size(), 1u);
  EXPECT_TRUE(state.userData().aerobicsLog.asDictionary().empty());
}

TEST_F(StoredFilesTest, AWorkoutsFileHoldingADictionaryIsIgnoredKeptAsideAndReplacedAtTheNextSave) {
  const PropertyList wrongKind = PropertyList::Dictionary{{"Legs", "Squat"}};
  writeDocument("Workouts.plist", wrongKind);
  const std::string original = readDocumentBytes("Workouts.plist");
  VelomarAppDelegate& state = launch();
  EXPECT_TRUE(state.userData().workouts.asArray().empty());
  EXPECT_EQ(documentNames(), std::vector<std::string>{"Workouts.plist"}) << "start-up wrote";
  EXPECT_TRUE(lines().empty());

  state.userData().workouts.asArray().push_back(PropertyList::Array{"Push", "Push Up"});
  ASSERT_TRUE(state.userData().saveWorkouts().ok());

  EXPECT_EQ(readDocument("Workouts.plist"),
            PropertyList(PropertyList::Array{PropertyList::Array{"Push", "Push Up"}}));
  // 12:00 on Mar 20, 2024 in Tokyo is 03:00 UTC; the name carries the process's local time.
  const std::vector<std::string> names = documentNames();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1].rfind("Workouts.plist.unreadable-202403", 0), 0u) << names[1];
  EXPECT_EQ(readDocumentBytes(names[1]), original);
  ASSERT_EQ(lines().size(), 1u);
  EXPECT_NE(lines()[0].find(names[1]), std::string::npos) << lines()[0];

  // Moved once: the next save just replaces the file.
  ASSERT_TRUE(state.userData().saveWorkouts().ok());
  EXPECT_EQ(documentNames().size(), 2u);
  EXPECT_EQ(lines().size(), 1u);
}

TEST_F(StoredFilesTest, ALogThatDoesNotParseKeepsItsBytesUnderAFreeName) {
  const std::string garbage = "<?xml version=\"1.0\"?><plist><dict><key>Mar 1";
  writeDocumentBytes("Kinetra_Log.plist", garbage);
  // An earlier run left a copy under the name this run would choose first.
  VelomarAppDelegate& state = launch();
  const std::string taken = "Kinetra_Log.plist.unreadable-" + [] {
    std::time_t moment =
        static_cast<std::time_t>(day("Mar 20, 2024").timeIntervalSince1970()) + 12 * 3600;
    std::tm local{};
    localtime_r(&moment, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return std::string(text);
  }();
  writeDocumentBytes(taken, "older copy");
  EXPECT_TRUE(state.userData().exerciseLog.asDictionary().empty());

  state.userData().exerciseLog.asDictionary()["Mar 20, 2024"] = PropertyList::Dictionary{};
  ASSERT_TRUE(state.userData().saveExerciseLog().ok());
  EXPECT_EQ(readDocumentBytes(taken), "older copy");
  EXPECT_EQ(readDocumentBytes(taken + "-2"), garbage);
  EXPECT_EQ(readDocument("Kinetra_Log.plist"), state.userData().exerciseLog);
}

TEST_F(StoredFilesTest, AMissingFileIsSimplyWrittenWithoutAnyLine) {
  VelomarAppDelegate& state = launch();
  state.userData().settings.asDictionary()["email"] = "a@b.c";
  ASSERT_TRUE(state.userData().saveSettings().ok());
  EXPECT_EQ(documentNames(), std::vector<std::string>{"settings.plist"});
  EXPECT_EQ(readDocument("settings.plist"), state.userData().settings);
  EXPECT_TRUE(lines().empty());
}

TEST_F(StoredFilesTest, AFailedWriteIsReportedAndTheNextWriteCarriesTheChange) {
  VelomarAppDelegate& state = launch();
  // Something in the way of the log file: a folder of that name, with content.
  std::filesystem::create_directories(documents() / "Kinetra_Log.plist" / "inside");
  state.userData().exerciseLog.asDictionary()["Mar 20, 2024"] =
      PropertyList::Dictionary{{"Squat", PropertyList::Array{"100 kg", "5", ""}}};
  EXPECT_FALSE(state.userData().saveExerciseLog().ok());
  ASSERT_EQ(lines().size(), 1u);
  EXPECT_TRUE(anyLineContains(lines(), "could not save Kinetra_Log.plist")) << lines()[0];
  EXPECT_EQ(state.userData().exerciseLog.asDictionary().size(), 1u) << "the change left memory";

  std::filesystem::remove_all(documents() / "Kinetra_Log.plist");
  state.userData().exerciseLog.asDictionary()["Mar 21, 2024"] = PropertyList::Dictionary{};
  ASSERT_TRUE(state.userData().saveExerciseLog().ok());
  EXPECT_EQ(readDocument("Kinetra_Log.plist").asDictionary().size(), 2u);
}

TEST_F(StoredFilesTest, TheOlderSingleWorkoutBecomesTheLastWorkoutAndItsFileGoes) {
  writeDocument("Workouts.plist", PropertyList::Array{PropertyList::Array{"Current Workout", "A"}});
  writeDocument("Kinetra.plist", PropertyList::Array{"Squat", "separator", "Push Up", "separator"});
  VelomarAppDelegate& state = launch();
  const PropertyList expected =
      PropertyList::Array{PropertyList::Array{"Current Workout", "A"},
                          PropertyList::Array{"Current Workout", "Squat", "Push Up"}};
  EXPECT_EQ(state.userData().workouts, expected);
  EXPECT_EQ(readDocument("Workouts.plist"), expected);
  EXPECT_EQ(documentNames(), std::vector<std::string>{"Workouts.plist"});
}

// Writes that fail as a full disk or a quota makes them fail, also for root: files may not grow
// beyond a few bytes while this lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = SIG_DFL;
};

TEST_F(StoredFilesTest, AFailedMigrationKeepsTheOlderFileAndTheWorkoutIsNeverDoubled) {
  writeDocument("Kinetra.plist", PropertyList::Array{"Squat", "separator", "Push Up"});
  const PropertyList migrated =
      PropertyList::Array{PropertyList::Array{"Current Workout", "Squat", "Push Up"}};
  {
    const FileSizeLimit full(16);
    EXPECT_EQ(launch().userData().workouts, migrated);
    EXPECT_TRUE(anyLineContains(lines(), "could not save Workouts.plist"));
    EXPECT_EQ(documentNames(), std::vector<std::string>{"Kinetra.plist"});
    // Still failing at the next start: the same one workout, the older file still kept.
    EXPECT_EQ(relaunch().userData().workouts, migrated);
    EXPECT_EQ(documentNames(), std::vector<std::string>{"Kinetra.plist"});
  }
  // A later save of the workouts in the same run finishes the migration.
  ASSERT_TRUE(app().userData().saveWorkouts().ok());
  EXPECT_EQ(documentNames(), std::vector<std::string>{"Workouts.plist"});
  EXPECT_EQ(relaunch().userData().workouts, migrated);
  EXPECT_EQ(readDocument("Workouts.plist"), migrated);
}

// A run that ends (killed, power lost) after saving the migrated workout but before removing the
// older file: the next start finds the workout saved and only removes the file.
TEST_F(StoredFilesTest, AMigrationInterruptedAfterItsSaveIsFinishedWithoutDoublingTheWorkout) {
  writeDocument("Kinetra.plist", PropertyList::Array{"Squat", "separator", "Push Up"});
  const PropertyList migrated =
      PropertyList::Array{PropertyList::Array{"Legs", "Squat"},
                          PropertyList::Array{"Current Workout", "Squat", "Push Up"}};
  writeDocument("Workouts.plist", migrated);
  EXPECT_EQ(launch().userData().workouts, migrated);
  EXPECT_EQ(documentNames(), std::vector<std::string>{"Workouts.plist"});
  EXPECT_EQ(readDocument("Workouts.plist"), migrated);
  EXPECT_TRUE(lines().empty());
}

TEST_F(StoredFilesTest, AnOlderWorkoutFileThatIsNotAllStringsIsLeftAlone) {
  writeDocument("Kinetra.plist", PropertyList::Array{"Squat", PropertyList::Array{}});
  VelomarAppDelegate& state = launch();
  EXPECT_TRUE(state.userData().workouts.asArray().empty());
  EXPECT_EQ(documentNames(), std::vector<std::string>{"Kinetra.plist"});
}

// Objects of a binary property list with fewer than 15 elements or characters each: ASCII and
// UTF-16 text, and arrays and dictionaries of one-byte references to other objects.
std::string ascii(const std::string& text) { return static_cast<char>(0x50 | text.size()) + text; }
std::string utf16(const std::vector<char16_t>& units) {
  std::string object(1, static_cast<char>(0x60 | units.size()));
  for (char16_t unit : units) {
    object += static_cast<char>(unit >> 8);
    object += static_cast<char>(unit & 0xFF);
  }
  return object;
}
std::string array(const std::vector<char>& references) {
  return static_cast<char>(0xA0 | references.size()) +
         std::string(references.begin(), references.end());
}
std::string dictionary(const std::vector<char>& keys, const std::vector<char>& values) {
  return static_cast<char>(0xD0 | keys.size()) + std::string(keys.begin(), keys.end()) +
         std::string(values.begin(), values.end());
}

// A binary property list of `objects`, the first on top: two-byte offsets.
std::string binaryPlist(const std::vector<std::string>& objects) {
  std::string bytes = "bplist00";
  std::vector<std::size_t> offsets;
  for (const std::string& object : objects) {
    offsets.push_back(bytes.size());
    bytes += object;
  }
  const std::size_t table = bytes.size();
  for (std::size_t offset : offsets) {
    bytes += static_cast<char>(offset >> 8);
    bytes += static_cast<char>(offset);
  }
  bytes += std::string(6, '\0') + "\x02\x01";
  for (std::uint64_t value :
       {std::uint64_t{objects.size()}, std::uint64_t{0}, std::uint64_t{table}}) {
    for (int shift = 56; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
  }
  return bytes;
}

// Readable files whose values the next save could not write back as they are: each is shown as
// far as it can be, and its bytes are kept aside before that save; a file read exactly is not.
TEST_F(StoredFilesTest, FilesThatCannotBeKeptExactlyAreKeptAsideBeforeTheirFirstSave) {
  struct Case {
    std::string file;
    std::string bytes;
    Status (UserData::*save)();
  };
  const std::vector<Case> cases = {
      // The same day twice: only the later, empty one can be held.
      {"Kinetra_Log.plist",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>"
       "<key>Mar 19, 2024</key><dict><key>Squat</key><array><string>100 kg</string>"
       "<string>5</string><string></string></array></dict>"
       "<key>Mar 19, 2024</key><dict/></dict></plist>\n",
       &UserData::saveExerciseLog},
      // A key of UTF-16 text holding a lone surrogate.
      {"settings.plist",
       binaryPlist({dictionary({1, 2}, {3, 4}), ascii("email"), utf16({u'a', 0xD800}),
                    ascii("me@example.org"), ascii("x")}),
       &UserData::saveSettings},
      // A workout name holding a control character XML cannot carry.
      {"Workouts.plist", binaryPlist({array({1}), array({2, 3}), ascii("Legs"), ascii("S\aq")}),
       &UserData::saveWorkouts},
  };
  for (const Case& odd : cases) writeDocumentBytes(odd.file, odd.bytes);
  // Binary, and exact: rewriting it in XML keeps every value.
  writeDocumentBytes("Kinetra_Aerobics_Log.plist",
                     binaryPlist({dictionary({1}, {2}), ascii("Mar 20, 2024"), dictionary({3}, {4}),
                                  ascii("Rowing 1"), array({5, 5}), utf16({u'1', u'2'})}));

  VelomarAppDelegate& state = launch();
  EXPECT_EQ(state.userData().exerciseLog,
            PropertyList(PropertyList::Dictionary{{"Mar 19, 2024", PropertyList::Dictionary{}}}));
  ASSERT_NE(state.userData().settings.find("email"), nullptr);
  EXPECT_EQ(state.userData().settings.find("email")->asString(), "me@example.org");
  EXPECT_EQ(state.userData().workouts.asArray().size(), 1u);
  EXPECT_EQ(state.userData().aerobicsLog.asDictionary().size(), 1u);
  EXPECT_TRUE(lines().empty()) << lines()[0];

  for (const Case& odd : cases) {
    ASSERT_TRUE((state.userData().*odd.save)().ok()) << odd.file;
    const std::vector<std::string> names = documentNames();
    const auto aside = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
      return name.rfind(odd.file + ".unreadable-", 0) == 0;
    });
    if (aside == names.end()) {
      ADD_FAILURE() << odd.file << " was not kept aside";
      continue;
    }
    EXPECT_EQ(readDocumentBytes(*aside), odd.bytes) << odd.file;
    EXPECT_TRUE(anyLineContains(lines(), *aside)) << odd.file;
  }
  EXPECT_EQ(lines().size(), cases.size());
  ASSERT_TRUE(state.userData().saveAerobicsLog().ok());
  EXPECT_EQ(documentNames().size(), 1u + 2 * cases.size());
  EXPECT_EQ(lines().size(), cases.size()) << "an exact file was kept aside";
}

// The file is kept under its own name until a save has replaced it: a first save that fails
// leaves the history where the next start finds it.
TEST_F(StoredFilesTest, AFileKeptAsideIsStillInPlaceWhenItsFirstSaveFails) {
  const std::string bytes =
      "<plist><dict><key>Mar 19, 2024</key><dict><key>Squat</key><array/></dict>"
      "<key>Mar 19, 2024</key><dict><key>Dip</key><array/></dict></dict></plist>";
  writeDocumentBytes("Kinetra_Log.plist", bytes);
  VelomarAppDelegate& state = launch();
  {
    const FileSizeLimit full(16);
    EXPECT_FALSE(state.userData().saveExerciseLog().ok());
  }
  EXPECT_EQ(readDocumentBytes("Kinetra_Log.plist"), bytes);
  EXPECT_EQ(relaunch().userData().exerciseLog.asDictionary().size(), 1u);
}

// A save interrupted by the end of the process leaves its temporary file; the next start removes
// those of the user files and nothing else.
TEST_F(StoredFilesTest, TemporaryFilesOfInterruptedSavesAreRemovedAtStartUp) {
  const std::string ours[] = {".Kinetra_Log.plist.tmp-0123456789abcdef",
                              ".settings.plist.tmp-fedcba9876543210",
                              ".Farmer Walk_t.jpg.tmp-00000000000000aa"};
  writeDocumentBytes(ours[0], std::string(1000, 'x'));
  writeDocumentBytes(ours[1], std::string(20, 'y'));
  writeDocumentBytes(ours[2], std::string(4, 'z'));
  const std::vector<std::string> others = {
      ".Kinetra_Log.plist.tmp-0123456789abcde",    // one digit short
      ".Kinetra_Log.plist.tmp-0123456789abcdef0",  // one too many
      ".Kinetra_Log.plist.tmp-0123456789ABCDEF",   // not the writer's digits
      ".Kinetra_Log.plist.tmp-0123456789abcdeg",
      "Kinetra_Log.plist.tmp-0123456789abcdef",  // not hidden
      ".Kinetra.plist.tmp-0123456789abcdef",     // not a file this version writes
      ".notes.txt.tmp-0123456789abcdef",
      ".jpg.tmp-0123456789abcdef",  // no picture's name before the type
      ".Farmer Walk.png.tmp-0123456789abcdef",
      ".Kinetra_Log.plist.tmp-0123456789abcdef~",
      "Kinetra_Log.plist.unreadable-20240320-120000",
      "Kinetra_Log.plist",
  };
  for (const std::string& name : others) writeDocumentBytes(name, "keep " + name);
  std::filesystem::create_directory(documents() / ".Workouts.plist.tmp-0000000000000000");
  // A link under one of our names: removing it is not ours to do, and what it points at is kept.
  writeDocumentBytes("target", "pointed at");
  std::filesystem::create_symlink(documents() / "target",
                                  documents() / ".Workouts.plist.tmp-1111111111111111");

  launch();
  for (const std::string& name : ours) {
    EXPECT_FALSE(std::filesystem::exists(documents() / name)) << name;
  }
  for (const std::string& name : others) {
    EXPECT_EQ(readDocumentBytes(name), "keep " + name) << name;
  }
  EXPECT_TRUE(std::filesystem::is_directory(documents() / ".Workouts.plist.tmp-0000000000000000"));
  EXPECT_TRUE(std::filesystem::is_symlink(documents() / ".Workouts.plist.tmp-1111111111111111"));
  EXPECT_EQ(readDocumentBytes("target"), "pointed at");
  ASSERT_EQ(lines().size(), 1u);
  EXPECT_NE(lines()[0].find("removed 3 temporary files (1024 bytes)"), std::string::npos)
      << lines()[0];

  relaunch();
  EXPECT_EQ(lines().size(), 1u) << "nothing left to remove, nothing to say";
}

TEST_F(StoredFilesTest, CustomRecordsAreSharedSoAnEditThroughAnyListIsSaved) {
  writeSmallCatalogue();
  writeDocument("Custom_Exercises.plist",
                PropertyList::Array{exerciseRecord("Zercher Squat", "Legs"),
                                    exerciseRecord("curl of mine", "Arms")});
  VelomarAppDelegate& state = launch();
  ASSERT_EQ(state.exerciseList().exercises.size(), 7u);
  EXPECT_EQ(state.exerciseList().exercises[5], state.userData().customExercises[0]);
  EXPECT_EQ(state.exerciseList().exercises[6], state.userData().customExercises[1]);
  const ExerciseRecords& z = state.exerciseList().indexedExercises.at("Z");
  ASSERT_EQ(z.size(), 2u);
  EXPECT_EQ(z[1], state.userData().customExercises[0]);

  // The editor changes the record it found through the complete list, then saves.
  state.exerciseList().exercises[5]->asDictionary()["description"] = "changed";
  (*z[1]).asDictionary()["difficulty"] = "Advanced";
  ASSERT_TRUE(state.userData().saveCustomExercises().ok());
  const PropertyList saved = readDocument("Custom_Exercises.plist");
  ASSERT_EQ(saved.asArray().size(), 2u);
  EXPECT_EQ(saved.asArray()[0].find("description")->asString(), "changed");
  EXPECT_EQ(saved.asArray()[0].find("difficulty")->asString(), "Advanced");

  // A rebuild after the custom exercises change keeps sharing.
  state.userData().customExercises.erase(state.userData().customExercises.begin());
  state.rebuildExerciseList();
  ASSERT_EQ(state.exerciseList().exercises.size(), 6u);
  EXPECT_EQ(state.exerciseList().exercises[5], state.userData().customExercises[0]);
  EXPECT_EQ(state.exerciseList().indexedExercises.at("Z").size(), 1u);
}

TEST_F(StoredFilesTest, ACustomExerciseFileOfTheWrongKindLoadsAsEmpty) {
  writeSmallCatalogue();
  writeDocument("Custom_Exercises.plist", PropertyList::Dictionary{{"name", "x"}});
  writeDocument("Kinetra_Aerobics_Log.plist", PropertyList::Array{});
  VelomarAppDelegate& state = launch();
  EXPECT_TRUE(state.userData().customExercises.empty());
  EXPECT_EQ(state.exerciseList().exercises.size(), 5u);
  EXPECT_TRUE(state.userData().aerobicsLog.isDictionary());
  EXPECT_TRUE(state.userFiles().isUnreadable(UserFile::kCustomExercises));
  EXPECT_TRUE(state.userFiles().isUnreadable(UserFile::kAerobicsLog));
  EXPECT_FALSE(state.userFiles().isUnreadable(UserFile::kSettings));
}

}  // namespace
}  // namespace kinetra::test
