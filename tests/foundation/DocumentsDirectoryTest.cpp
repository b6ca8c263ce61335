#include "foundation/DocumentsDirectory.h"
#include "foundation/DocumentsLock.h"
#include "foundation/ResourceBundle.h"

#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace kinetra {
namespace {

using testing::ScopedEnvironment;
using testing::TemporaryDirectory;

TEST(DocumentsDirectoryTest, DefaultFollowsXdgThenHome) {
  ScopedEnvironment home("HOME", "/home/someone");
  {
    ScopedEnvironment data("XDG_DATA_HOME", "/data/xdg");
    EXPECT_EQ(DocumentsDirectory::defaultPath(), "/data/xdg/kinetra");
  }
  {
    ScopedEnvironment data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(DocumentsDirectory::defaultPath(), "/home/someone/.local/share/kinetra");
  }
  {
    ScopedEnvironment data("XDG_DATA_HOME", "relative/ignored");
    EXPECT_EQ(DocumentsDirectory::defaultPath(), "/home/someone/.local/share/kinetra");
  }
}

TEST(DocumentsDirectoryTest, OnlyBareNamesReachTheFileSystem) {
  DocumentsDirectory documents("/docs");
  auto log = documents.pathForFile("Kinetra_Log.plist");
  ASSERT_TRUE(log.ok());
  EXPECT_EQ(*log, "/docs/Kinetra_Log.plist");
  EXPECT_TRUE(documents.pathForFile("Bench Press_t.jpg").ok());

  for (const std::string& bad :
       {std::string(), std::string("."), std::string(".."), std::string("../etc/passwd"),
        std::string("a/b"), std::string("/abs"), std::string("x\0y", 3)}) {
    auto path = documents.pathForFile(bad);
    ASSERT_FALSE(path.ok()) << bad;
    EXPECT_EQ(path.status().code(), Status::Code::kInvalidArgument);
  }
}

TEST(DocumentsDirectoryTest, CreatedWhenFirstNeeded) {
  TemporaryDirectory temporary;
  DocumentsDirectory documents(temporary / "share/kinetra");
  EXPECT_FALSE(std::filesystem::exists(documents.path()));
  ASSERT_TRUE(documents.ensureExists().ok());
  EXPECT_TRUE(std::filesystem::is_directory(documents.path()));
  EXPECT_TRUE(documents.ensureExists().ok());

  // A file where the folder should be is an error, not a crash.
  std::ofstream(temporary / "blocked") << "x";
  EXPECT_FALSE(DocumentsDirectory(temporary / "blocked" / "kinetra").ensureExists().ok());
}

TEST(ResourceBundleTest, FindsExistingResourcesByNameAndType) {
  TemporaryDirectory temporary;
  std::ofstream(temporary / "Exercises.plist") << "<plist/>";
  std::filesystem::create_directory(temporary / "Targets.plist");
  ResourceBundle bundle(temporary.path());

  EXPECT_EQ(bundle.pathForResource("Exercises", "plist"), temporary / "Exercises.plist");
  EXPECT_FALSE(bundle.pathForResource("Exercises", "jpg"));
  EXPECT_FALSE(bundle.pathForResource("Missing", "plist"));
  EXPECT_FALSE(bundle.pathForResource("Targets", "plist"));  // a folder is no resource
  EXPECT_FALSE(bundle.pathForResource("../Exercises", "plist"));
  EXPECT_FALSE(bundle.pathForResource("", ""));
}

TEST(ResourceBundleTest, BuildTreeUsesTheSourceResources) {
  // Test executables live in the build tree.
  EXPECT_EQ(ResourceBundle::defaultPath(),
            std::filesystem::path(KINETRA_TEST_SOURCE_DIR) / "resources");
}

// One holder at a time, whichever open of the lock file asks; the folder is free again as soon
// as the holder is gone, also when it was moved on before.
TEST(DocumentsLockTest, OneHolderAtATimeUntilItIsGone) {
  TemporaryDirectory root;
  const DocumentsDirectory documents(root.path() / "new" / "docs");
  {
    Result<DocumentsLock> first = DocumentsLock::acquire(documents);
    ASSERT_TRUE(first.ok()) << first.status().toString();
    EXPECT_TRUE(std::filesystem::exists(documents.path() / std::string(DocumentsLock::kFileName)));

    Result<DocumentsLock> second = DocumentsLock::acquire(documents);
    ASSERT_FALSE(second.ok());
    EXPECT_EQ(second.status().code(), Status::Code::kCancelled);
    EXPECT_NE(second.status().message().find(documents.path().string()), std::string::npos);

    DocumentsLock moved = std::move(first.value());
    EXPECT_FALSE(DocumentsLock::acquire(documents).ok());
  }
  EXPECT_TRUE(DocumentsLock::acquire(documents).ok());
}

TEST(DocumentsLockTest, AFolderThatCannotBeMadeIsAnIOError) {
  TemporaryDirectory root;
  std::ofstream(root.path() / "file") << "x";
  Result<DocumentsLock> lock = DocumentsLock::acquire(DocumentsDirectory(root.path() / "file"));
  ASSERT_FALSE(lock.ok());
  EXPECT_EQ(lock.status().code(), Status::Code::kIOError);
}

}  // namespace
}  // namespace kinetra
