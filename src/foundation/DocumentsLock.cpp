#include "foundation/DocumentsLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace kinetra {

Result<DocumentsLock> DocumentsLock::acquire(const DocumentsDirectory& documents) {
  if (Status made = documents.ensureExists(); !made.ok()) return made;
  const std::string path = (documents.path() / std::string(kFileName)).string();
  const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (descriptor < 0) return Status::IOError(path + ": " + std::strerror(errno));
  if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(descriptor);
    if (error == EWOULDBLOCK) {
      return Status::Cancelled(documents.path().string() + " is in use by another kinetra");
    }
    return Status::IOError(path + ": " + std::strerror(error));
  }
  return DocumentsLock(descriptor);
}

DocumentsLock::DocumentsLock(DocumentsLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

DocumentsLock& DocumentsLock::operator=(DocumentsLock&& other) noexcept {
  if (this != &other) {
    release();
    descriptor_ = std::exchange(other.descriptor_, -1);
  }
  return *this;
}

DocumentsLock::~DocumentsLock() { release(); }

// Closing the only descriptor of the open file drops the lock.
void DocumentsLock::release() {
  if (descriptor_ >= 0) ::close(std::exchange(descriptor_, -1));
}

}  // namespace kinetra
