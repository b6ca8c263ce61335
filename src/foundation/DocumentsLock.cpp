#include "foundation/DocumentsLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace kinetra {

Result<DocumentsLock> DocumentsLock::acquire(const DocumentsDirectory& documents) {
  if (Status made = documents.ensureExists(); !made.ok()) return made;
  const std::string path = (documents.path() / std::string(kFileName)).string();
  FileDescriptor descriptor(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!descriptor.valid()) return Status::IOError(path + ": " + std::strerror(errno));
  if (::flock(descriptor.get(), LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) {
      return Status::Cancelled(documents.path().string() + " is in use by another kinetra");
    }
    return Status::IOError(path + ": " + std::strerror(error));
  }
  return DocumentsLock(std::move(descriptor));
}

}  // namespace kinetra
