#include "foundation/AtomicFile.h"

#include <limits.h>
#include <sys/stat.h>
#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "foundation/FileSystem.h"

namespace kinetra {

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr int kNameAttempts = 16;
constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr std::size_t kSuffixLength = 16;
constexpr char kHexDigits[] = "0123456789abcdef";
// The disk is asked to start writing each stretch of this many bytes as soon as it is in the
// file, and the kernel copies no more than this at a time.
constexpr std::size_t kWritebackStep = std::size_t{1} << 20;

std::string describe(const std::string& what, const std::filesystem::path& path, int error) {
  return what + " " + path.string() + ": " + std::strerror(error);
}

Status errnoStatus(const std::string& what, const std::filesystem::path& path, int error) {
  if (error == ENOENT || error == ENOTDIR) return Status::NotFound(describe(what, path, error));
  return Status::IOError(describe(what, path, error));
}

// Removes the temporary file unless the rename consumed it.
class TemporaryFile {
 public:
  TemporaryFile(FileSystem& fileSystem, std::filesystem::path path)
      : fileSystem_(fileSystem), path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) static_cast<void>(fileSystem_.unlink(path_));  // nothing more to do
  }

  const std::filesystem::path& path() const { return path_; }
  void release() { path_.clear(); }

 private:
  FileSystem& fileSystem_;
  std::filesystem::path path_;
};

// An open descriptor of the file system's, closed through it on destruction unless closed
// before.
class OpenFile {
 public:
  OpenFile(FileSystem& fileSystem, int fd) : fileSystem_(fileSystem), fd_(fd) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (fd_ >= 0) static_cast<void>(fileSystem_.close(fd_));  // a write already failed
  }

  int get() const { return fd_; }
  // 0 or the errno of the close; the descriptor is released either way.
  int close() { return fileSystem_.close(std::exchange(fd_, -1)); }

 private:
  FileSystem& fileSystem_;
  int fd_;
};

std::filesystem::path directoryOf(const std::filesystem::path& path) {
  std::filesystem::path directory = path.parent_path();
  return directory.empty() ? std::filesystem::path(".") : directory;
}

// "." + target + ".tmp-" + 16 random hexadecimal digits.
std::string temporaryName(std::string_view target) {
  std::random_device source;
  std::uint64_t bits = (std::uint64_t{source()} << 32) ^ source();
  std::string name = ".";
  name += target;
  name += kTemporaryMarker;
  for (std::size_t i = 0; i < kSuffixLength; ++i) name += kHexDigits[(bits >> (4 * i)) & 15];
  return name;
}

// The permission bits of the file being replaced; nothing for a new file.
std::optional<mode_t> existingMode(FileSystem& fileSystem, const std::filesystem::path& path) {
  struct stat info {};
  if (fileSystem.status(path, info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return std::nullopt;
}

// Starts the disk writing what is in the new file while the rest is still being put there, a
// stretch at a time, so that the sync at the end waits for the last stretch rather than for the
// whole file. Only a request: the sync still decides, and reports any failure.
class Writeback {
 public:
  Writeback(FileSystem& fileSystem, int fd) : fileSystem_(fileSystem), fd_(fd) {}

  // `bytes` more were put in the file, after those before.
  void advance(std::size_t bytes) {
    end_ += bytes;
    if (end_ - started_ < kWritebackStep) return;
    static_cast<void>(fileSystem_.startWriteback(fd_, static_cast<off_t>(started_),
                                                 static_cast<off_t>(end_ - started_)));
    started_ = end_;
  }

 private:
  FileSystem& fileSystem_;
  int fd_;
  std::size_t started_ = 0;  // the stretch before this is being written
  std::size_t end_ = 0;
};

// Writes every piece in order, up to IOV_MAX of them per call, resuming after short writes.
Status writeAll(FileSystem& fileSystem, int fd, std::span<const std::string_view> pieces,
                const std::filesystem::path& path, Writeback& writeback) {
  std::vector<iovec> vectors;
  vectors.reserve(pieces.size());
  for (std::string_view piece : pieces) {
    // writev never writes through the pointer; iovec merely has no const member.
    if (!piece.empty()) vectors.push_back({const_cast<char*>(piece.data()), piece.size()});
  }
  std::span<iovec> left(vectors);
  while (!left.empty()) {
    const int count = static_cast<int>(std::min<std::size_t>(left.size(), IOV_MAX));
    const ssize_t written = fileSystem.write(fd, left.data(), count);
    if (written < 0) {
      if (written == -EINTR) continue;
      return errnoStatus("cannot write", path, static_cast<int>(-written));
    }
    // Nothing written with bytes left: trying again could repeat forever.
    if (written == 0) return errnoStatus("cannot write", path, EIO);
    auto done = static_cast<std::size_t>(written);
    writeback.advance(done);
    while (!left.empty() && done >= left.front().iov_len) {
      done -= left.front().iov_len;
      left = left.subspan(1);
    }
    if (done > 0) {
      left.front().iov_base = static_cast<char*>(left.front().iov_base) + done;
      left.front().iov_len -= done;
    }
  }
  return Status::Ok();
}

bool cannotCopy(int error) {
  return error == ENOSYS || error == EXDEV || error == EOPNOTSUPP || error == EINVAL;
}

// Reads `length` bytes at `offset` of `source` and writes them to `fd`, a buffer at a time.
Status readAndWrite(FileSystem& fileSystem, int source, off_t offset, std::size_t length, int fd,
                    const std::filesystem::path& path, Writeback& writeback) {
  std::vector<char> buffer(std::min<std::size_t>(length, 64 * 1024));
  while (length > 0) {
    const ssize_t read =
        fileSystem.readAt(source, buffer.data(), std::min(length, buffer.size()), offset);
    if (read == -EINTR) continue;
    if (read < 0)
      return errnoStatus("cannot read the file replaced by", path, static_cast<int>(-read));
    if (read == 0) return errnoStatus("the file replaced ended early for", path, EIO);
    const std::string_view bytes(buffer.data(), static_cast<std::size_t>(read));
    if (Status written = writeAll(fileSystem, fd, std::span(&bytes, 1), path, writeback);
        !written.ok()) {
      return written;
    }
    offset += read;
    length -= static_cast<std::size_t>(read);
  }
  return Status::Ok();
}

// Copies `length` bytes at `offset` of `source` to `fd`, in the kernel while it can.
Status copyAll(FileSystem& fileSystem, int source, off_t offset, std::size_t length, int fd,
               const std::filesystem::path& path, Writeback& writeback) {
  while (length > 0) {
    const ssize_t copied =
        fileSystem.copyRange(source, offset, fd, std::min(length, kWritebackStep));
    if (copied == -EINTR) continue;
    if (copied < 0 && cannotCopy(static_cast<int>(-copied))) {
      return readAndWrite(fileSystem, source, offset, length, fd, path, writeback);
    }
    if (copied < 0) return errnoStatus("cannot copy into", path, static_cast<int>(-copied));
    if (copied == 0) return errnoStatus("the file replaced ended early for", path, EIO);
    writeback.advance(static_cast<std::size_t>(copied));
    offset += copied;
    length -= static_cast<std::size_t>(copied);
  }
  return Status::Ok();
}

// Writes the pieces in order: each run of pieces in memory in one pass, each piece of the
// source by copying.
Status writeAll(FileSystem& fileSystem, int fd, std::span<const FilePiece> pieces, int source,
                const std::filesystem::path& path) {
  Writeback writeback(fileSystem, fd);
  std::vector<std::string_view> run;
  run.reserve(pieces.size());
  const auto writeRun = [&] {
    Status written = writeAll(fileSystem, fd, run, path, writeback);
    run.clear();
    return written;
  };
  for (const FilePiece& piece : pieces) {
    if (!piece.inSource()) {
      run.push_back(piece.bytes);
      continue;
    }
    if (Status written = writeRun(); !written.ok()) return written;
    if (source < 0) return Status::InvalidArgument("no file to copy from for " + path.string());
    if (Status copied =
            copyAll(fileSystem, source, piece.offset, piece.length, fd, path, writeback);
        !copied.ok()) {
      return copied;
    }
  }
  return writeRun();
}

Status syncDirectory(FileSystem& fileSystem, const std::filesystem::path& directory) {
  const int error = fileSystem.syncDirectory(directory);
  // Some file systems cannot sync a directory and say so with EINVAL; there is nothing to do.
  if (error == 0 || error == EINVAL) return Status::Ok();
  // ENOENT/ENOTDIR only arise from opening it.
  if (error == ENOENT || error == ENOTDIR) {
    return errnoStatus("cannot open directory", directory, error);
  }
  return Status::IOError(describe("cannot sync directory", directory, error));
}

}  // namespace

Status AtomicFile::write(const std::filesystem::path& path, std::string_view bytes) {
  return write(FileSystem::system(), path, bytes);
}

Status AtomicFile::write(const std::filesystem::path& path,
                         std::span<const std::string_view> pieces) {
  return write(FileSystem::system(), path, pieces);
}

Status AtomicFile::write(FileSystem& fileSystem, const std::filesystem::path& path,
                         std::string_view bytes) {
  return write(fileSystem, path, std::span<const std::string_view>(&bytes, 1));
}

Status AtomicFile::write(FileSystem& fileSystem, const std::filesystem::path& path,
                         std::span<const std::string_view> pieces) {
  std::vector<FilePiece> inMemory;
  inMemory.reserve(pieces.size());
  for (std::string_view piece : pieces) inMemory.push_back(FilePiece::of(piece));
  return write(fileSystem, path, inMemory);
}

Status AtomicFile::write(FileSystem& fileSystem, const std::filesystem::path& path,
                         std::span<const FilePiece> pieces, int source) {
  if (path.filename().empty()) return Status::InvalidArgument("no file name in " + path.string());
  const std::filesystem::path directory = directoryOf(path);
  const std::optional<mode_t> mode = existingMode(fileSystem, path);

  std::filesystem::path temporaryPath;
  int fd = -EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && fd == -EEXIST; ++attempt) {
    temporaryPath = directory / temporaryName(path.filename().string());
    fd = fileSystem.createExclusive(temporaryPath, kNewFileMode);
  }
  if (fd < 0) return errnoStatus("cannot create a temporary file for", path, -fd);
  OpenFile file(fileSystem, fd);
  TemporaryFile temporary(fileSystem, temporaryPath);

  // The umask applied at creation; a replacement keeps exactly the old file's bits.
  if (mode) {
    if (int error = fileSystem.setMode(file.get(), *mode); error != 0) {
      return errnoStatus("cannot set the mode of", temporaryPath, error);
    }
  }
  if (Status written = writeAll(fileSystem, file.get(), pieces, source, temporaryPath);
      !written.ok()) {
    return written;
  }
  if (int error = fileSystem.sync(file.get()); error != 0) {
    return errnoStatus("cannot sync", temporaryPath, error);
  }
  if (int error = file.close(); error != 0) {
    return errnoStatus("cannot close", temporaryPath, error);
  }
  if (int error = fileSystem.rename(temporary.path(), path); error != 0) {
    return errnoStatus("cannot replace", path, error);
  }
  temporary.release();
  return syncDirectory(fileSystem, directory);
}

bool AtomicFile::isTemporaryFor(std::string_view name, std::string_view target) {
  if (target.empty() || !name.starts_with('.')) return false;
  name.remove_prefix(1);
  if (!name.starts_with(target)) return false;
  name.remove_prefix(target.size());
  if (!name.starts_with(kTemporaryMarker)) return false;
  name.remove_prefix(kTemporaryMarker.size());
  return name.size() == kSuffixLength &&
         name.find_first_not_of(kHexDigits) == std::string_view::npos;
}

}  // namespace kinetra
