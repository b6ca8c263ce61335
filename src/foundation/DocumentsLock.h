#pragma once

#include "foundation/DocumentsDirectory.h"
#include "foundation/FileDescriptor.h"
#include "foundation/Status.h"

#include <string_view>
#include <utility>

namespace kinetra {

// Keeps one process at a time on a documents folder: an exclusive advisory lock (flock) on the
// lock file inside it, held as long as this object lives. The kernel drops the lock when the
// process ends in any way, so a crash never leaves the folder locked. Two processes writing the
// same files would each overwrite the other's saves; the second one must not start.
//
// Move-only; destroying it closes the lock file, which drops the lock. Not a guard against other
// programs, which ignore advisory locks.
class DocumentsLock {
 public:
  // The lock file's name; the only file in the folder that is not the user's data.
  static constexpr std::string_view kFileName = ".kinetra.lock";

  // Makes the folder when missing and takes the lock without waiting. Fails with kCancelled
  // when another process (or another lock in this one) holds it, and with kIOError when the
  // folder or the lock file cannot be made or opened.
  static Result<DocumentsLock> acquire(const DocumentsDirectory& documents);

 private:
  explicit DocumentsLock(FileDescriptor descriptor) : descriptor_(std::move(descriptor)) {}

  FileDescriptor descriptor_;
};

}  // namespace kinetra
