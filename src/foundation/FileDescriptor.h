#pragma once

namespace kinetra {

// Owns one POSIX file descriptor and closes it on destruction. Move-only; a negative value
// means "none", so the result of a failed open() can be handed over unchecked and tested with
// valid().
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  ~FileDescriptor();

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

  // 0 or the errno of close(), which a destructor would have to drop. The descriptor is
  // released either way (retrying close after EINTR is unsafe on Linux, so EINTR reads as 0).
  int close();

 private:
  int fd_ = -1;
};

}  // namespace kinetra
