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
};

}  // namespace

FileSystem& FileSystem::system() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace kinetra
