#include "support/FaultyFileSystem.h"

#include <algorithm>
#include <set>

namespace kinetra::testing {

int FaultyFileSystem::due(Call call) {
  int error = 0;
  for (Armed& armed : faults_) {
    if (armed.fault.call == call && ++armed.seen == armed.fault.nth && error == 0) {
      error = armed.fault.error;
    }
  }
  return error;
}

bool FaultyFileSystem::retriedAFailedSync() const {
  std::set<int> failed;
  for (const Record& call : calls_) {
    if (call.call == Call::kClose) failed.erase(call.fd);
    if (call.call != Call::kSync) continue;
    if (failed.count(call.fd) > 0) return true;
    if (call.result != 0) failed.insert(call.fd);
  }
  return false;
}

std::string FaultyFileSystem::name(Call call) {
  switch (call) {
    case Call::kCreate:
      return "create";
    case Call::kSetMode:
      return "setMode";
    case Call::kWrite:
      return "write";
    case Call::kSync:
      return "sync";
    case Call::kClose:
      return "close";
    case Call::kRename:
      return "rename";
    case Call::kLink:
      return "link";
    case Call::kUnlink:
      return "unlink";
    case Call::kSyncDirectory:
      return "syncdir";
    case Call::kStatus:
      return "status";
    case Call::kLinkStatus:
      return "linkStatus";
    case Call::kOpenForReading:
      return "openForReading";
    case Call::kDescriptorStatus:
      return "descriptorStatus";
    case Call::kCopyRange:
      return "copyRange";
    case Call::kReadAt:
      return "readAt";
    case Call::kStartWriteback:
      return "startWriteback";
  }
  return "?";
}

int FaultyFileSystem::createExclusive(const std::filesystem::path& path, mode_t mode) {
  if (int error = due(Call::kCreate); error > 0) return record(Call::kCreate, -1, -error);
  const int fd = real_.createExclusive(path, mode);
  return record(Call::kCreate, fd, fd);
}

int FaultyFileSystem::setMode(int fd, mode_t mode) {
  if (int error = due(Call::kSetMode); error > 0) return record(Call::kSetMode, fd, error);
  return record(Call::kSetMode, fd, real_.setMode(fd, mode));
}

ssize_t FaultyFileSystem::write(int fd, const iovec* pieces, int count) {
  const int error = due(Call::kWrite);
  if (error > 0) return record<ssize_t>(Call::kWrite, fd, -error);
  if (error == kWroteNothing) return record<ssize_t>(Call::kWrite, fd, 0);
  if (error == kShortWrite && count > 0 && pieces[0].iov_len > 0) {
    // Half the first piece, at least one byte.
    const iovec part{pieces[0].iov_base, std::max<std::size_t>(1, pieces[0].iov_len / 2)};
    return record(Call::kWrite, fd, real_.write(fd, &part, 1));
  }
  return record(Call::kWrite, fd, real_.write(fd, pieces, count));
}

int FaultyFileSystem::sync(int fd) {
  if (int error = due(Call::kSync); error > 0) return record(Call::kSync, fd, error);
  return record(Call::kSync, fd, real_.sync(fd));
}

int FaultyFileSystem::close(int fd) {
  const int error = due(Call::kClose);
  const int closed = real_.close(fd);
  return record(Call::kClose, fd, error > 0 ? error : closed);
}

int FaultyFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (int error = due(Call::kRename); error > 0) return record(Call::kRename, -1, error);
  return record(Call::kRename, -1, real_.rename(from, to));
}

int FaultyFileSystem::link(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (int error = due(Call::kLink); error > 0) return record(Call::kLink, -1, error);
  return record(Call::kLink, -1, real_.link(from, to));
}

int FaultyFileSystem::unlink(const std::filesystem::path& path) {
  if (int error = due(Call::kUnlink); error > 0) return record(Call::kUnlink, -1, error);
  return record(Call::kUnlink, -1, real_.unlink(path));
}

int FaultyFileSystem::syncDirectory(const std::filesystem::path& path) {
  if (int error = due(Call::kSyncDirectory); error > 0) {
    return record(Call::kSyncDirectory, -1, error);
  }
  return record(Call::kSyncDirectory, -1, real_.syncDirectory(path));
}

int FaultyFileSystem::status(const std::filesystem::path& path, struct stat& info) {
  if (int error = due(Call::kStatus); error > 0) return record(Call::kStatus, -1, error);
  return record(Call::kStatus, -1, real_.status(path, info));
}

int FaultyFileSystem::linkStatus(const std::filesystem::path& path, struct stat& info) {
  if (int error = due(Call::kLinkStatus); error > 0) return record(Call::kLinkStatus, -1, error);
  return record(Call::kLinkStatus, -1, real_.linkStatus(path, info));
}

int FaultyFileSystem::openForReading(const std::filesystem::path& path) {
  if (int error = due(Call::kOpenForReading); error > 0) {
    return record(Call::kOpenForReading, -1, -error);
  }
  const int fd = real_.openForReading(path);
  return record(Call::kOpenForReading, fd, fd);
}

int FaultyFileSystem::descriptorStatus(int fd, struct stat& info) {
  if (int error = due(Call::kDescriptorStatus); error > 0) {
    return record(Call::kDescriptorStatus, fd, error);
  }
  return record(Call::kDescriptorStatus, fd, real_.descriptorStatus(fd, info));
}

ssize_t FaultyFileSystem::copyRange(int from, off_t offset, int to, std::size_t length) {
  const int error = due(Call::kCopyRange);
  if (error > 0) return record<ssize_t>(Call::kCopyRange, to, -error);
  if (error == kWroteNothing) return record<ssize_t>(Call::kCopyRange, to, 0);
  if (error == kShortWrite) length = std::max<std::size_t>(1, length / 2);
  return record(Call::kCopyRange, to, real_.copyRange(from, offset, to, length));
}

ssize_t FaultyFileSystem::readAt(int fd, void* buffer, std::size_t length, off_t offset) {
  const int error = due(Call::kReadAt);
  if (error > 0) return record<ssize_t>(Call::kReadAt, fd, -error);
  if (error == kWroteNothing) return record<ssize_t>(Call::kReadAt, fd, 0);
  if (error == kShortWrite) length = std::max<std::size_t>(1, length / 2);
  return record(Call::kReadAt, fd, real_.readAt(fd, buffer, length, offset));
}

int FaultyFileSystem::startWriteback(int fd, off_t offset, off_t length) {
  if (int error = due(Call::kStartWriteback); error > 0) {
    return record(Call::kStartWriteback, fd, error);
  }
  return record(Call::kStartWriteback, fd, real_.startWriteback(fd, offset, length));
}

}  // namespace kinetra::testing
