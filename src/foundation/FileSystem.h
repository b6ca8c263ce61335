#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>

#include <cstddef>
#include <filesystem>

namespace kinetra {

// The few file-system calls behind the user's files: what AtomicFile needs to replace a file
// durably (taking unchanged bytes from the file it replaces), and what UserFileStore needs to
// keep an unreadable file aside and remove the leftovers of interrupted writes. Every call reports
// failure errno-style, never through errno itself: a descriptor or byte count, or minus the error
// number; 0 or the error number for the rest. Replaceable so that tests can make any step fail
// (tests/support/FaultyFileSystem) and so that a test build of kinetra can stop the process at a
// chosen step (KillingFileSystem).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The real file system: the POSIX calls, unchanged. One instance for the whole process; it
  // holds no state.
  static FileSystem& system();

  // A new file opened for writing, created exclusively (O_CREAT | O_EXCL, close-on-exec) with
  // `mode` less the umask: its descriptor, or -errno (-EEXIST when the name is taken).
  virtual int createExclusive(const std::filesystem::path& path, mode_t mode) = 0;
  // fchmod: 0 or errno.
  virtual int setMode(int fd, mode_t mode) = 0;
  // One writev call: the number of bytes written, or -errno (-EINTR included: the caller
  // decides whether to try again).
  virtual ssize_t write(int fd, const iovec* pieces, int count) = 0;
  // fsync: 0 or errno. A failed sync must not be retried on the same descriptor.
  virtual int sync(int fd) = 0;
  // close: 0 or errno. The descriptor is released either way.
  virtual int close(int fd) = 0;
  virtual int rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  virtual int link(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  virtual int unlink(const std::filesystem::path& path) = 0;
  // Opens the folder, fsyncs it and closes it: 0 or errno. EINVAL means the file system cannot
  // sync a folder.
  virtual int syncDirectory(const std::filesystem::path& path) = 0;
  // stat (following links) or lstat: 0 or errno.
  virtual int status(const std::filesystem::path& path, struct stat& info) = 0;
  virtual int linkStatus(const std::filesystem::path& path, struct stat& info) = 0;

  // The calls that let a save take unchanged bytes from the file it replaces.
  // A file opened for reading (close-on-exec): its descriptor, or -errno.
  virtual int openForReading(const std::filesystem::path& path) = 0;
  // fstat: 0 or errno.
  virtual int descriptorStatus(int fd, struct stat& info) = 0;
  // One copy_file_range call: up to `length` bytes at `offset` of `from`, written to `to` at its
  // position, in the kernel. The number copied (0 at the end of `from`) or -errno (-EINTR
  // included). -ENOSYS, -EXDEV, -EOPNOTSUPP and -EINVAL say the kernel or the file system cannot
  // copy between these two: the caller reads and writes instead.
  virtual ssize_t copyRange(int from, off_t offset, int to, std::size_t length) = 0;
  // One pread call: the number of bytes read (0 at the end) or -errno.
  virtual ssize_t readAt(int fd, void* buffer, std::size_t length, off_t offset) = 0;

  // sync_file_range(SYNC_FILE_RANGE_WRITE): asks the disk to start writing `length` bytes at
  // `offset` of the file, without waiting for them: 0 or errno. Only a request, which a save
  // may ignore failing: its sync decides and reports.
  virtual int startWriteback(int fd, off_t offset, off_t length) = 0;
};

}  // namespace kinetra
