#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "foundation/FileSystem.h"

namespace kinetra {

// A test-only kill switch: forwards every call to another FileSystem and, right after the n-th
// call of one chosen step has returned (whatever its result), runs a kill action, by default
// SIGKILL to this process. Counts run across every atomic write of the process.
//
// kinetra arms it from the environment at start-up:
//
//   KINETRA_TEST_KILL_AT=<step>:<n>
//
// <step> is one of create (the temporary file's exclusive creation), write (each writev call),
// sync (the file's fsync), close, rename, syncdir (the folder's fsync), copy (each
// copy_file_range call taking unchanged bytes from the file replaced); <n> is a decimal count
// of at least 1. Unset, kinetra uses the real file system directly. Set but malformed, kinetra
// says so in one diagnostic line and runs without the switch. Crash tests use it to end the
// process between any two steps of a save.
class KillingFileSystem final : public FileSystem {
 public:
  enum class Step { kCreate, kWrite, kSync, kClose, kRename, kSyncDirectory, kCopy };
  struct KillPoint {
    Step step = Step::kCreate;
    std::uint64_t count = 1;
  };
  using KillAction = std::function<void()>;

  static constexpr const char* kEnvironmentVariable = "KINETRA_TEST_KILL_AT";

  // The kill point a variable's value names; nothing when it is not exactly "<step>:<n>".
  static std::optional<KillPoint> parse(std::string_view text);
  // Sends SIGKILL to this process.
  static void killProcess();

  KillingFileSystem(FileSystem& inner, KillPoint at, KillAction kill = killProcess);

  // How many calls of `step` have completed so far.
  std::uint64_t calls(Step step) const { return counts_[static_cast<std::size_t>(step)]; }

  int createExclusive(const std::filesystem::path& path, mode_t mode) override;
  int setMode(int fd, mode_t mode) override;
  ssize_t write(int fd, const iovec* pieces, int count) override;
  int sync(int fd) override;
  int close(int fd) override;
  int rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  int link(const std::filesystem::path& from, const std::filesystem::path& to) override;
  int unlink(const std::filesystem::path& path) override;
  int syncDirectory(const std::filesystem::path& path) override;
  int status(const std::filesystem::path& path, struct stat& info) override;
  int linkStatus(const std::filesystem::path& path, struct stat& info) override;
  int openForReading(const std::filesystem::path& path) override;
  int descriptorStatus(int fd, struct stat& info) override;
  ssize_t copyRange(int from, off_t offset, int to, std::size_t length) override;
  ssize_t readAt(int fd, void* buffer, std::size_t length, off_t offset) override;
  int startWriteback(int fd, off_t offset, off_t length) override;

 private:
  // Counts a completed call of `step` and kills when it is the chosen one.
  void completed(Step step);

  FileSystem& inner_;
  KillPoint at_;
  KillAction kill_;
  std::array<std::uint64_t, 7> counts_{};
};

}  // namespace kinetra
