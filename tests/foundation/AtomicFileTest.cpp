#include "foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/PropertyListWriter.h"
#include "support/FaultyFileSystem.h"
#include "support/TemporaryDirectory.h"

namespace kinetra {
namespace {

mode_t permissions(const std::filesystem::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 07777;
}

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(directory_.path().empty());
    ASSERT_TRUE(AtomicFile::write(target_, old_).ok());
  }

  testing::TemporaryDirectory directory_;
  std::filesystem::path target_ = directory_ / "Kinetra_Log.plist";
  const std::string old_ = "old contents\n";
};

TEST_F(AtomicFileTest, ReplacesTheWholeFileAndLeavesNoTemporaryBehind) {
  EXPECT_EQ(testing::fileContents(target_), old_);
  EXPECT_EQ(
      permissions(target_), 0644 & ~[] {
        mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
      }());
  std::string large(3 << 20, 'x');
  ASSERT_TRUE(AtomicFile::write(target_, large).ok());
  EXPECT_EQ(testing::fileContents(target_), large);
  ASSERT_TRUE(AtomicFile::write(target_, "").ok());
  EXPECT_EQ(testing::fileContents(target_), "");
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"Kinetra_Log.plist"});
}

TEST_F(AtomicFileTest, KeepsThePermissionsOfTheFileItReplaces) {
  ASSERT_EQ(::chmod(target_.c_str(), 0600), 0);
  ASSERT_TRUE(AtomicFile::write(target_, "new").ok());
  EXPECT_EQ(permissions(target_), 0600u);
  // Whatever the umask: the replacement has the old bits, not the default ones.
  ASSERT_EQ(::chmod(target_.c_str(), 0664), 0);
  mode_t mask = ::umask(077);
  Status status = AtomicFile::write(target_, "newer");
  ::umask(mask);
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(permissions(target_), 0664u);
}

TEST_F(AtomicFileTest, MissingDirectoryIsNotFoundAndCreatesNothing) {
  Status status = AtomicFile::write(directory_ / "absent" / "file.plist", "x");
  EXPECT_EQ(status.code(), Status::Code::kNotFound) << status.toString();
  // A regular file where a directory should be.
  status = AtomicFile::write(target_ / "file.plist", "x");
  EXPECT_EQ(status.code(), Status::Code::kNotFound) << status.toString();
  EXPECT_EQ(testing::fileContents(target_), old_);
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"Kinetra_Log.plist"});
}

TEST_F(AtomicFileTest, FailedRenameRemovesTheTemporaryFile) {
  std::filesystem::create_directory(directory_ / "folder");
  std::ofstream(directory_ / "folder" / "inside") << "kept";
  Status status = AtomicFile::write(directory_ / "folder", "x");
  EXPECT_EQ(status.code(), Status::Code::kIOError) << status.toString();
  EXPECT_TRUE(std::filesystem::is_directory(directory_ / "folder"));
  EXPECT_EQ(testing::fileContents(directory_ / "folder" / "inside"), "kept");
  EXPECT_EQ(directory_.entries(), (std::vector<std::string>{"Kinetra_Log.plist", "folder"}));
}

// A full disk, for root too: the file size limit makes write() fail with EFBIG part way
// through, in a child process so the limit stays there.
TEST_F(AtomicFileTest, FailedWriteLeavesTheOldFileByteIdentical) {
  std::string large(1 << 20, 'n');
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      64 * 1024, 64 * 1024
    };
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    Status status = AtomicFile::write(target_, large);
    bool reported = status.code() == Status::Code::kIOError &&
                    status.message().find("File too large") != std::string::npos;
    ::_exit(reported ? 0 : 1);
  }
  int wait = 0;
  ASSERT_EQ(::waitpid(child, &wait, 0), child);
  ASSERT_TRUE(WIFEXITED(wait));
  EXPECT_EQ(WEXITSTATUS(wait), 0);
  EXPECT_EQ(testing::fileContents(target_), old_);
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"Kinetra_Log.plist"});
}

// The process ends in the middle of a write: the file size limit's signal kills the child as it
// writes, which leaves the temporary file behind as a crash does.
TEST_F(AtomicFileTest, AWriteCutShortLeavesATemporaryFileThatIsRecognisedAsOne) {
  std::string large(1 << 20, 'n');
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    struct rlimit noCore {
      0, 0
    };
    struct rlimit limit {
      64 * 1024, 64 * 1024
    };
    if (::setrlimit(RLIMIT_CORE, &noCore) != 0 || ::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
      ::_exit(3);
    }
    (void)AtomicFile::write(target_, large);
    ::_exit(0);
  }
  int wait = 0;
  ASSERT_EQ(::waitpid(child, &wait, 0), child);
  ASSERT_TRUE(WIFSIGNALED(wait) && WTERMSIG(wait) == SIGXFSZ) << "status " << wait;
  EXPECT_EQ(testing::fileContents(target_), old_);
  std::vector<std::string> names = directory_.entries();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1], "Kinetra_Log.plist");
  EXPECT_TRUE(AtomicFile::isTemporaryFor(names[0], "Kinetra_Log.plist")) << names[0];
  EXPECT_FALSE(AtomicFile::isTemporaryFor(names[0], "Kinetra_Log")) << names[0];
  EXPECT_FALSE(AtomicFile::isTemporaryFor(names[0], "settings.plist")) << names[0];
}

// A write that writes nothing fails the save instead of being tried again for ever.
TEST_F(AtomicFileTest, AWriteOfNothingFailsTheSaveAndKeepsTheOldFile) {
  testing::FaultyFileSystem fileSystem;
  fileSystem.add(
      {testing::FaultyFileSystem::Call::kWrite, 1, testing::FaultyFileSystem::kWroteNothing});
  EXPECT_EQ(AtomicFile::write(fileSystem, target_, "new contents\n").code(),
            Status::Code::kIOError);
  EXPECT_EQ(testing::fileContents(target_), old_);
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"Kinetra_Log.plist"});
}

TEST(AtomicFileNamesTest, OnlyTheWritersOwnTemporaryNamesAreRecognised) {
  const struct {
    const char* name;
    bool temporary;
  } cases[] = {
      {".log.plist.tmp-0123456789abcdef", true},
      {".log.plist.tmp-ffffffffffffffff", true},
      {".log.plist.tmp-0123456789abcde", false},    // a digit short
      {".log.plist.tmp-0123456789abcdef0", false},  // a digit over
      {".log.plist.tmp-0123456789ABCDEF", false},   // upper case
      {".log.plist.tmp-0123456789abcdeg", false},
      {".log.plist.tmp-01234567 9abcdef", false},
      {"log.plist.tmp-0123456789abcdef", false},  // not hidden
      {"..log.plist.tmp-0123456789abcdef", false},
      {".log.plist.tmp_0123456789abcdef", false},
      {".log.plisttmp-0123456789abcdef", false},
      {".log.plist.tmp-", false},
      {".other.plist.tmp-0123456789abcdef", false},
      {".log.plist.bak.tmp-0123456789abcdef", false},
      {"log.plist", false},
      {"log.plist.unreadable-20240320-120000", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AtomicFile::isTemporaryFor(c.name, "log.plist"), c.temporary) << c.name;
  }
  EXPECT_FALSE(AtomicFile::isTemporaryFor("..tmp-0123456789abcdef", ""));
}

TEST_F(AtomicFileTest, RefusedValueLeavesTheOldFile) {
  PropertyList deep = PropertyList::Array{};
  PropertyList* innermost = &deep;
  for (int depth = 0; depth < PropertyList::kMaxDepth; ++depth) {
    innermost = &innermost->asArray().emplace_back(PropertyList::Array{});
  }
  EXPECT_EQ(writePropertyList(target_, deep).code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(testing::fileContents(target_), old_);
}

}  // namespace
}  // namespace kinetra

namespace kinetra {
namespace {

// A save that takes its unchanged parts from the file it replaces: pieces of that file copied
// in the kernel, or read and written where the kernel cannot copy, between pieces in memory.
class AtomicFileFromSourceTest : public AtomicFileTest {
 protected:
  void SetUp() override {
    AtomicFileTest::SetUp();
    for (int i = 0; i < 20000; ++i) source_ += "line " + std::to_string(i) + "\n";
    ASSERT_TRUE(AtomicFile::write(target_, source_).ok());
    fd_ = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd_, 0);
  }
  void TearDown() override { ::close(fd_); }

  // Source pieces at the start, the middle and the end, memory pieces around them.
  std::vector<FilePiece> pieces() const {
    return {FilePiece::of("head\n"),
            FilePiece::fromSource(0, 1000),
            FilePiece::of(""),
            FilePiece::fromSource(70000, 60000),
            FilePiece::of("between\n"),
            FilePiece::of("and more\n"),
            FilePiece::fromSource(static_cast<off_t>(source_.size()) - 5, 5),
            FilePiece::of("tail\n")};
  }
  std::string expected() const {
    return "head\n" + source_.substr(0, 1000) + source_.substr(70000, 60000) +
           "between\nand more\n" + source_.substr(source_.size() - 5) + "tail\n";
  }

  std::string source_;
  int fd_ = -1;
  testing::FaultyFileSystem fileSystem_;
};

using Call = testing::FaultyFileSystem::Call;

TEST_F(AtomicFileFromSourceTest, PiecesOfTheReplacedFileAreCopiedWhateverTheKernelCanDo) {
  const std::vector<FilePiece> parts = pieces();
  // The kernel copying; copying in short steps, interrupted; unable to copy at all (old
  // kernels, other file systems), so the bytes are read and written, also in short reads.
  const std::vector<std::vector<testing::FaultyFileSystem::Fault>> ways = {
      {},
      {{Call::kCopyRange, 1, testing::FaultyFileSystem::kShortWrite},
       {Call::kCopyRange, 2, EINTR},
       {Call::kCopyRange, 3, testing::FaultyFileSystem::kShortWrite}},
      {{Call::kCopyRange, 1, ENOSYS}, {Call::kCopyRange, 2, EXDEV}, {Call::kCopyRange, 3, EINVAL}},
      {{Call::kCopyRange, 1, EOPNOTSUPP},
       {Call::kReadAt, 1, testing::FaultyFileSystem::kShortWrite},
       {Call::kReadAt, 2, EINTR}},
  };
  for (std::size_t way = 0; way < ways.size(); ++way) {
    for (const auto& fault : ways[way]) fileSystem_.add(fault);
    const Status written = AtomicFile::write(fileSystem_, target_, parts, fd_);
    fileSystem_.clearFaults();
    ASSERT_TRUE(written.ok()) << way << ": " << written.toString();
    EXPECT_EQ(testing::fileContents(target_), expected()) << way;
    EXPECT_EQ(directory_.entries(), std::vector<std::string>{"Kinetra_Log.plist"}) << way;
    // The source is the replaced file, still open: write the original back for the next way.
    ASSERT_TRUE(AtomicFile::write(target_, source_).ok());
    ::close(fd_);
    fd_ = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC);
  }
  const auto copies = std::count_if(fileSystem_.calls().begin(), fileSystem_.calls().end(),
                                    [](const auto& call) { return call.call == Call::kCopyRange; });
  EXPECT_GE(copies, 3 * 4) << "each way copies three pieces at least";
}

// The disk is asked to start on each whole MiB as soon as it is copied; the request is only
// that, and its failing changes nothing.
TEST_F(AtomicFileFromSourceTest, ALongCopyAsksForWritebackAStretchAtATime) {
  std::string longSource;
  while (longSource.size() < (std::size_t{7} << 19)) longSource += source_;  // 3.5 MiB and more
  ASSERT_TRUE(AtomicFile::write(target_, longSource).ok());
  ::close(fd_);
  fd_ = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC);
  const FilePiece whole[] = {FilePiece::fromSource(0, longSource.size())};
  fileSystem_.add({Call::kStartWriteback, 2, EIO});
  ASSERT_TRUE(AtomicFile::write(fileSystem_, target_, whole, fd_).ok());
  EXPECT_EQ(testing::fileContents(target_), longSource);
  const auto count = [this](Call which) {
    return std::count_if(fileSystem_.calls().begin(), fileSystem_.calls().end(),
                         [which](const auto& call) { return call.call == which; });
  };
  const auto mebibytes = static_cast<long>(longSource.size() >> 20);
  EXPECT_EQ(count(Call::kCopyRange), mebibytes + 1);  // a MiB at a time, and the rest
  EXPECT_EQ(count(Call::kStartWriteback), mebibytes);
}

TEST_F(AtomicFileFromSourceTest, AFailureToCopyOrReadLeavesTheOldFileAndNoTemporary) {
  const std::vector<FilePiece> parts = pieces();
  const std::vector<std::vector<testing::FaultyFileSystem::Fault>> faults = {
      {{Call::kCopyRange, 1, EIO}},
      {{Call::kCopyRange, 2, ENOSPC}},
      {{Call::kCopyRange, 1, testing::FaultyFileSystem::kWroteNothing}},  // the source ended
      {{Call::kCopyRange, 1, ENOSYS}, {Call::kReadAt, 1, EIO}},
      {{Call::kCopyRange, 1, ENOSYS}, {Call::kReadAt, 1, testing::FaultyFileSystem::kWroteNothing}},
  };
  for (std::size_t fault = 0; fault < faults.size(); ++fault) {
    for (const auto& each : faults[fault]) fileSystem_.add(each);
    const Status written = AtomicFile::write(fileSystem_, target_, parts, fd_);
    fileSystem_.clearFaults();
    EXPECT_EQ(written.code(), Status::Code::kIOError) << fault << ": " << written.toString();
    EXPECT_EQ(testing::fileContents(target_), source_) << fault;
    EXPECT_EQ(directory_.entries(), std::vector<std::string>{"Kinetra_Log.plist"}) << fault;
  }
  // A piece past the source's end, and pieces of a source with none given.
  const FilePiece beyond[] = {FilePiece::fromSource(static_cast<off_t>(source_.size()) - 2, 10)};
  EXPECT_EQ(AtomicFile::write(fileSystem_, target_, beyond, fd_).code(), Status::Code::kIOError);
  EXPECT_FALSE(AtomicFile::write(fileSystem_, target_, parts, -1).ok());
  EXPECT_EQ(testing::fileContents(target_), source_);
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"Kinetra_Log.plist"});
}

}  // namespace
}  // namespace kinetra
