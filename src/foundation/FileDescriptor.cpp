#include "foundation/FileDescriptor.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace kinetra {

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

int FileDescriptor::close() {
  if (fd_ < 0) return 0;
  const int error = ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno;
  return error == EINTR ? 0 : error;
}

}  // namespace kinetra
