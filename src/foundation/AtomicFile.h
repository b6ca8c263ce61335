#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "foundation/FilePiece.h"
#include "foundation/Status.h"

namespace kinetra {

class FileSystem;

// Durable whole-file replacement.
//
// write() creates a temporary file exclusively (O_CREAT | O_EXCL) under a unique name in the
// target's directory, with the old file's permission bits or 0644 (less the umask) for a new
// file; writes all bytes (retrying short writes and EINTR), asking the disk to start on each
// MiB as soon as it is written so that the disk works while the rest is written; fsyncs and
// closes it; renames it over the target; and fsyncs the directory. Readers see either the old
// file or the new one, never a mix.
//
// Failures: when anything before the rename fails (no space, file size limit, read-only or
// missing directory, I/O error, a failed fsync) the temporary file is removed, the old file is
// left byte-identical and the error is returned; a failed fsync is never retried, since the
// kernel may already have dropped the dirty pages it reported on. When the rename fails (for
// example the target is a directory) the same holds. When only the final directory fsync fails
// the new contents are in place but their durability is unknown; that is reported as IOError
// too. Codes: NotFound when the directory does not exist, IOError otherwise.
//
// The temporary file is named "." + the target's name + ".tmp-" + 16 lower-case hexadecimal
// digits. A process that ends between creating and renaming it (killed, or the machine losing
// power) leaves it behind; isTemporaryFor() recognises such leftovers.
//
// Every call goes through a FileSystem: the real one unless the caller names another.
class AtomicFile {
 public:
  AtomicFile() = delete;

  static Status write(const std::filesystem::path& path, std::string_view bytes);
  // The same with the file's bytes given as consecutive pieces, written in one pass (writev)
  // without joining them first.
  static Status write(const std::filesystem::path& path, std::span<const std::string_view> pieces);
  static Status write(FileSystem& fileSystem, const std::filesystem::path& path,
                      std::string_view bytes);
  static Status write(FileSystem& fileSystem, const std::filesystem::path& path,
                      std::span<const std::string_view> pieces);
  // The same with pieces that may lie in `source`, a file open for reading (the one being
  // replaced): those are copied in the kernel (copy_file_range), or read and written where the
  // kernel or the file system cannot copy. A source that ends before a piece does fails the
  // write with IOError, like any failure to read it.
  static Status write(FileSystem& fileSystem, const std::filesystem::path& path,
                      std::span<const FilePiece> pieces, int source = -1);

  // True when `name` is one that write() gives a temporary file for a target named `target`.
  static bool isTemporaryFor(std::string_view name, std::string_view target);
};

}  // namespace kinetra
