#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

#include "foundation/FileSystem.h"

namespace kinetra::testing {

// A FileSystem that forwards to a real one but makes chosen calls fail, and records every call.
//
// A fault names a call and which of its calls (counted from when the fault was added, from 1)
// fails, once: create fails without creating; write (and copyRange, and readAt) fails without
// writing, or (kShortWrite) writes only part of what it is asked for and returns that count, or
// (kWroteNothing) returns 0; sync, rename, the folder's sync and
// the others fail without doing anything; close releases the descriptor and then reports the
// error, as close(2) does.
class FaultyFileSystem final : public FileSystem {
 public:
  enum class Call {
    kCreate,
    kSetMode,
    kWrite,
    kSync,
    kClose,
    kRename,
    kLink,
    kUnlink,
    kSyncDirectory,
    kStatus,
    kLinkStatus,
    kOpenForReading,
    kDescriptorStatus,
    kCopyRange,
    kReadAt,
    kStartWriteback
  };
  // The error of a write that writes less than asked and succeeds.
  static constexpr int kShortWrite = -1;
  // The error of a write that writes nothing and returns 0.
  static constexpr int kWroteNothing = -2;

  struct Fault {
    Call call = Call::kCreate;
    int nth = 1;
    int error = 0;  // an errno value, kShortWrite or kWroteNothing
  };

  // One call as it completed: its descriptor (-1 for calls on paths) and its result (a
  // descriptor or byte count, or an error as FileSystem returns it).
  struct Record {
    Call call = Call::kCreate;
    int fd = -1;
    long result = 0;
  };

  explicit FaultyFileSystem(FileSystem& real = FileSystem::system()) : real_(real) {}

  void add(Fault fault) { faults_.push_back(Armed{fault, 0}); }
  // Removes the faults not yet used; the record stays.
  void clearFaults() { faults_.clear(); }
  const std::vector<Record>& calls() const { return calls_; }
  // True when some descriptor was synced again after a sync on it failed, before it was closed.
  bool retriedAFailedSync() const;
  static std::string name(Call call);

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
  struct Armed {
    Fault fault;
    int seen;
  };

  // The error this call of `call` must fail with; 0 when it goes through.
  int due(Call call);
  template <typename T>
  T record(Call call, int fd, T result) {
    calls_.push_back(Record{call, fd, static_cast<long>(result)});
    return result;
  }

  FileSystem& real_;
  std::vector<Armed> faults_;
  std::vector<Record> calls_;
};

}  // namespace kinetra::testing
