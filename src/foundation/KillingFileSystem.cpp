#include "foundation/KillingFileSystem.h"

#include <unistd.h>

#include <charconv>
#include <csignal>
#include <utility>

namespace kinetra {

namespace {

struct StepName {
  std::string_view name;
  KillingFileSystem::Step step;
};

constexpr StepName kStepNames[] = {
    {"create", KillingFileSystem::Step::kCreate},
    {"write", KillingFileSystem::Step::kWrite},
    {"sync", KillingFileSystem::Step::kSync},
    {"close", KillingFileSystem::Step::kClose},
    {"rename", KillingFileSystem::Step::kRename},
    {"syncdir", KillingFileSystem::Step::kSyncDirectory},
    {"copy", KillingFileSystem::Step::kCopy},
};

}  // namespace

std::optional<KillingFileSystem::KillPoint> KillingFileSystem::parse(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view name = text.substr(0, colon);
  const std::string_view number = text.substr(colon + 1);
  KillPoint point;
  bool named = false;
  for (const StepName& entry : kStepNames) {
    if (entry.name == name) {
      point.step = entry.step;
      named = true;
    }
  }
  // from_chars takes no sign or space, so only digits pass.
  const char* end = number.data() + number.size();
  const auto [stop, error] = std::from_chars(number.data(), end, point.count);
  if (!named || number.empty() || error != std::errc() || stop != end || point.count == 0) {
    return std::nullopt;
  }
  return point;
}

void KillingFileSystem::killProcess() { ::kill(::getpid(), SIGKILL); }

KillingFileSystem::KillingFileSystem(FileSystem& inner, KillPoint at, KillAction kill)
    : inner_(inner), at_(at), kill_(std::move(kill)) {}

void KillingFileSystem::completed(Step step) {
  const std::uint64_t count = ++counts_[static_cast<std::size_t>(step)];
  if (step == at_.step && count == at_.count) kill_();
}

int KillingFileSystem::createExclusive(const std::filesystem::path& path, mode_t mode) {
  const int result = inner_.createExclusive(path, mode);
  completed(Step::kCreate);
  return result;
}

int KillingFileSystem::setMode(int fd, mode_t mode) { return inner_.setMode(fd, mode); }

ssize_t KillingFileSystem::write(int fd, const iovec* pieces, int count) {
  const ssize_t result = inner_.write(fd, pieces, count);
  completed(Step::kWrite);
  return result;
}

int KillingFileSystem::sync(int fd) {
  const int result = inner_.sync(fd);
  completed(Step::kSync);
  return result;
}

int KillingFileSystem::close(int fd) {
  const int result = inner_.close(fd);
  completed(Step::kClose);
  return result;
}

int KillingFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  const int result = inner_.rename(from, to);
  completed(Step::kRename);
  return result;
}

int KillingFileSystem::link(const std::filesystem::path& from, const std::filesystem::path& to) {
  return inner_.link(from, to);
}

int KillingFileSystem::unlink(const std::filesystem::path& path) { return inner_.unlink(path); }

int KillingFileSystem::syncDirectory(const std::filesystem::path& path) {
  const int result = inner_.syncDirectory(path);
  completed(Step::kSyncDirectory);
  return result;
}

int KillingFileSystem::status(const std::filesystem::path& path, struct stat& info) {
  return inner_.status(path, info);
}

int KillingFileSystem::linkStatus(const std::filesystem::path& path, struct stat& info) {
  return inner_.linkStatus(path, info);
}

int KillingFileSystem::openForReading(const std::filesystem::path& path) {
  return inner_.openForReading(path);
}

int KillingFileSystem::descriptorStatus(int fd, struct stat& info) {
  return inner_.descriptorStatus(fd, info);
}

ssize_t KillingFileSystem::copyRange(int from, off_t offset, int to, std::size_t length) {
  const ssize_t result = inner_.copyRange(from, offset, to, length);
  completed(Step::kCopy);
  return result;
}

ssize_t KillingFileSystem::readAt(int fd, void* buffer, std::size_t length, off_t offset) {
  return inner_.readAt(fd, buffer, length, offset);
}

int KillingFileSystem::startWriteback(int fd, off_t offset, off_t length) {
  return inner_.startWriteback(fd, offset, length);
}

}  // namespace kinetra
