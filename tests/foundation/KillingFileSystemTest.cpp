#include "foundation/KillingFileSystem.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "foundation/AtomicFile.h"
#include "support/TemporaryDirectory.h"

namespace kinetra {
namespace {

using Step = KillingFileSystem::Step;

TEST(KillingFileSystemTest, ParsesExactlyAStepAndACountOfAtLeastOne) {
  const struct {
    const char* text;
    Step step;
    std::uint64_t count;
  } good[] = {{"create:1", Step::kCreate, 1}, {"write:12", Step::kWrite, 12},
              {"sync:3", Step::kSync, 3},     {"close:1", Step::kClose, 1},
              {"rename:1", Step::kRename, 1}, {"syncdir:2", Step::kSyncDirectory, 2},
              {"copy:4", Step::kCopy, 4},     {"write:007", Step::kWrite, 7}};
  for (const auto& entry : good) {
    const auto point = KillingFileSystem::parse(entry.text);
    ASSERT_TRUE(point.has_value()) << entry.text;
    EXPECT_EQ(point->step, entry.step) << entry.text;
    EXPECT_EQ(point->count, entry.count) << entry.text;
  }
  for (const char* bad : {"", "rename", "rename:", ":1", "rename:0", "rename:-1", "rename:+1",
                          "rename: 1", " rename:1", "Rename:1", "rename:1x", "rename:1:2",
                          "fsync:1", "syncdir:1.5", "rename:99999999999999999999999"}) {
    EXPECT_FALSE(KillingFileSystem::parse(bad).has_value()) << bad;
  }
}

class KillingFileSystemCountTest : public ::testing::Test {
 protected:
  // Writes three files in turn through a switch armed at `at`; what the folder held each time the
  // kill action ran.
  std::vector<std::vector<std::string>> writeThreeFiles(KillingFileSystem::KillPoint at) {
    std::vector<std::vector<std::string>> kills;
    KillingFileSystem killing(FileSystem::system(), at,
                              [&] { kills.push_back(directory_.entries()); });
    for (const char* name : {"a", "b", "c"}) {
      EXPECT_TRUE(AtomicFile::write(killing, directory_ / name, std::string("new ") + name).ok());
    }
    EXPECT_EQ(killing.calls(Step::kCreate), 3u);
    EXPECT_EQ(killing.calls(Step::kWrite), 3u);  // one writev a file
    EXPECT_EQ(killing.calls(Step::kSync), 3u);
    EXPECT_EQ(killing.calls(Step::kClose), 3u);
    EXPECT_EQ(killing.calls(Step::kRename), 3u);
    EXPECT_EQ(killing.calls(Step::kSyncDirectory), 3u);
    return kills;
  }

  testing::TemporaryDirectory directory_;
};

// The action runs once, right after the chosen call has done its work and before the write goes
// on: after the second rename the second file is in place; after the second sync its temporary
// file is there and the file itself is not yet.
TEST_F(KillingFileSystemCountTest, KillsOnceRightAfterTheNthCallOfTheStepAcrossWrites) {
  EXPECT_EQ(writeThreeFiles({Step::kRename, 2}),
            (std::vector<std::vector<std::string>>{{"a", "b"}}));

  testing::TemporaryDirectory other;
  const auto kills = [&] {
    std::vector<std::vector<std::string>> seen;
    KillingFileSystem killing(FileSystem::system(), {Step::kSync, 2},
                              [&] { seen.push_back(other.entries()); });
    for (const char* name : {"a", "b", "c"}) {
      EXPECT_TRUE(AtomicFile::write(killing, other / name, "x").ok());
    }
    return seen;
  }();
  ASSERT_EQ(kills.size(), 1u);
  ASSERT_EQ(kills[0].size(), 2u);
  EXPECT_TRUE(AtomicFile::isTemporaryFor(kills[0][0], "b")) << kills[0][0];  // "." sorts first
  EXPECT_EQ(kills[0][1], "a");
}

TEST_F(KillingFileSystemCountTest, APointPastTheLastCallNeverKills) {
  EXPECT_TRUE(writeThreeFiles({Step::kSyncDirectory, 4}).empty());
  EXPECT_EQ(directory_.entries(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(testing::fileContents(directory_ / "c"), "new c");
}

TEST_F(KillingFileSystemCountTest, CountsEveryCallOfTheStepWhateverItsResult) {
  std::vector<std::vector<std::string>> kills;
  KillingFileSystem killing(FileSystem::system(), {Step::kCreate, 2},
                            [&] { kills.push_back(directory_.entries()); });
  // No such folder: the first creation fails and still counts.
  EXPECT_FALSE(AtomicFile::write(killing, directory_ / "missing" / "a", "x").ok());
  EXPECT_TRUE(AtomicFile::write(killing, directory_ / "b", "x").ok());
  ASSERT_EQ(kills.size(), 1u);
  ASSERT_EQ(kills[0].size(), 1u);
  EXPECT_TRUE(AtomicFile::isTemporaryFor(kills[0][0], "b")) << kills[0][0];
}

}  // namespace
}  // namespace kinetra
