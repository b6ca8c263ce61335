#include "foundation/AtomicFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "foundation/FileDescriptor.h"

namespace kinetra {

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr int kNameAttempts = 16;
constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr std::size_t kSuffixLength = 16;
constexpr char kHexDigits[] = "0123456789abcdef";

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
  explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  const std::filesystem::path& path() const { return path_; }
  void release() { path_.clear(); }

 private:
  std::filesystem::path path_;
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
std::optional<mode_t> existingMode(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return std::nullopt;
}

// Writes every piece in order, up to IOV_MAX of them per call, resuming after short writes.
Status writeAll(int fd, std::span<const std::string_view> pieces,
                const std::filesystem::path& path) {
  std::vector<iovec> vectors;
  vectors.reserve(pieces.size());
  for (std::string_view piece : pieces) {
    // writev never writes through the pointer; iovec merely has no const member.
    if (!piece.empty()) vectors.push_back({const_cast<char*>(piece.data()), piece.size()});
  }
  std::span<iovec> left(vectors);
  while (!left.empty()) {
    const int count = static_cast<int>(std::min<std::size_t>(left.size(), IOV_MAX));
    ssize_t written = ::writev(fd, left.data(), count);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errnoStatus("cannot write", path, errno);
    }
    auto done = static_cast<std::size_t>(written);
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

Status syncDirectory(const std::filesystem::path& directory) {
  FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) return errnoStatus("cannot open directory", directory, errno);
  // Some file systems cannot sync a directory and say so with EINVAL; there is nothing to do.
  if (::fsync(fd.get()) != 0 && errno != EINVAL) {
    return Status::IOError(describe("cannot sync directory", directory, errno));
  }
  return Status::Ok();
}

}  // namespace

Status AtomicFile::write(const std::filesystem::path& path, std::string_view bytes) {
  return write(path, std::span<const std::string_view>(&bytes, 1));
}

Status AtomicFile::write(const std::filesystem::path& path,
                         std::span<const std::string_view> pieces) {
  if (path.filename().empty()) return Status::InvalidArgument("no file name in " + path.string());
  const std::filesystem::path directory = directoryOf(path);
  const std::optional<mode_t> mode = existingMode(path);

  std::filesystem::path temporaryPath;
  int fd = -1;
  for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
    temporaryPath = directory / temporaryName(path.filename().string());
    fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errnoStatus("cannot create a temporary file for", path, errno);
  FileDescriptor file(fd);
  TemporaryFile temporary(temporaryPath);

  // The umask applied at creation; a replacement keeps exactly the old file's bits.
  if (mode && ::fchmod(file.get(), *mode) != 0) {
    return errnoStatus("cannot set the mode of", temporaryPath, errno);
  }
  if (Status written = writeAll(file.get(), pieces, temporaryPath); !written.ok()) return written;
  if (::fsync(file.get()) != 0) return errnoStatus("cannot sync", temporaryPath, errno);
  if (int error = file.close(); error != 0) {
    return errnoStatus("cannot close", temporaryPath, error);
  }
  if (::rename(temporary.path().c_str(), path.c_str()) != 0) {
    return errnoStatus("cannot replace", path, errno);
  }
  temporary.release();
  return syncDirectory(directory);
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
