#include "foundation/FileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/FileDescriptor.h"

namespace kinetra {

namespace {

int result(int value) { return value == 0 ? 0 : errno; }

class PosixFileSystem final : public FileSystem {
 public:
  int createExclusive(const std::filesystem::path& path, mode_t mode) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    return fd >= 0 ? fd : -errno;
  }
  int setMode(int fd, mode_t mode) override { return result(::fchmod(fd, mode)); }
  ssize_t write(int fd, const iovec* pieces, int count) override {
    const ssize_t written = ::writev(fd, pieces, count);
    return written >= 0 ? written : -errno;
  }
  int sync(int fd) override { return result(::fsync(fd)); }
  int close(int fd) override { return FileDescriptor(fd).close(); }
  int rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return result(::rename(from.c_str(), to.c_str()));
  }
  int link(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return result(::link(from.c_str(), to.c_str()));
  }
  int unlink(const std::filesystem::path& path) override { return result(::unlink(path.c_str())); }
  int syncDirectory(const std::filesystem::path& path) override {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return errno;
    // A descriptor opened only to sync has nothing left to lose when it closes.
    return result(::fsync(fd.get()));
  }
  int status(const std::filesystem::path& path, struct stat& info) override {
    return result(::stat(path.c_str(), &info));
  }
  int linkStatus(const std::filesystem::path& path, struct stat& info) override {
    return result(::lstat(path.c_str(), &info));
  }
  int openForReading(const std::filesystem::path& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 ? fd : -errno;
  }
  int descriptorStatus(int fd, struct stat& info) override { return result(::fstat(fd, &info)); }
  ssize_t copyRange(int from, off_t offset, int to, std::size_t length) override {
    loff_t at = offset;
    const ssize_t copied = ::copy_file_range(from, &at, to, nullptr, length, 0);
    return copied >= 0 ? copied : -errno;
  }
  ssize_t readAt(int fd, void* buffer, std::size_t length, off_t offset) override {
    const ssize_t read = ::pread(fd, buffer, length, offset);
    return read >= 0 ? read : -errno;
  }
  int startWriteback(int fd, off_t offset, off_t length) override {
    return result(::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE));
  }
};

}  // namespace

FileSystem& FileSystem::system() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace kinetra
