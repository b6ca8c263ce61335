#pragma once

#include <sys/types.h>

#include <array>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "foundation/DocumentsDirectory.h"
#include "foundation/PropertyList.h"
#include "foundation/SerialisedDictionary.h"
#include "foundation/Status.h"

namespace kinetra {

class FileSystem;
class RunLoop;

// The user's five property-list files.
enum class UserFile { kWorkouts, kCustomExercises, kExerciseLog, kAerobicsLog, kSettings };

// The user's files in the documents directory: read at start-up, written whole and atomically
// after each change. write() is the one way a user file is written.
//
// A file that exists at start-up but cannot be read (it does not parse, or its top level is not
// the kind its field holds) loads as missing, but its bytes are not lost: the first write that
// would replace it first keeps it as "<name>.unreadable-<YYYYMMDD-HHMMSS>" (local time from the
// run loop's clock) and says so in one diagnostic line. A file that reads, but not exactly (see
// PropertyListReading: a repeated key, text XML cannot carry, ...), loads with what could be read
// and is kept the same way, since the first write would otherwise lose the rest. The file is
// kept by a second name while the write replaces it (renamed only where the file system has no
// hard links), so a write that fails leaves it where the next start finds it. Every failed write
// is reported in one diagnostic line too; the caller keeps the value in memory, so the next write
// of the same file carries it to disk.
//
// Every write, keep-aside and removal goes through `fileSystem` (the real one unless the caller
// names another).
//
// Not thread-safe; the run loop's thread only. The run loop and the file system must outlive the
// store.
class UserFileStore {
 public:
  UserFileStore(DocumentsDirectory documents, RunLoop& runLoop);
  UserFileStore(DocumentsDirectory documents, RunLoop& runLoop, FileSystem& fileSystem);
  ~UserFileStore();
  UserFileStore(const UserFileStore&) = delete;
  UserFileStore& operator=(const UserFileStore&) = delete;

  static std::string_view fileName(UserFile file);
  // The top level each file must have: an array for workouts and custom exercises, a
  // dictionary for the logs and the settings.
  static PropertyList::Kind topLevel(UserFile file);

  const DocumentsDirectory& documents() const { return documents_; }

  // Removes the temporary files that writes of the user files leave when the process ends before
  // renaming them (AtomicFile::isTemporaryFor), with one diagnostic line saying how many and how
  // large when there were any. Only regular files of exactly those names go; links are not
  // followed, and nothing else in the folder is touched. For start-up, before any load: no write
  // of this process is under way then, and the documents lock keeps other processes out.
  void removeInterruptedWrites();

  // The file's value when it exists and reads as its top-level kind, exactly or not. Nothing
  // when it is missing or unreadable. A file that is unreadable, or not read exactly, is
  // remembered until it has been kept aside.
  std::optional<PropertyList> load(UserFile file);

  // Replaces the file with `value`, creating the documents directory when needed. When the file
  // was remembered at load and cannot be kept aside, nothing is written.
  Status write(UserFile file, const PropertyList& value);
  // The same for a dictionary file of which only the entries `changedKeys` changed (were added,
  // changed or removed) since its last write through this store: the other entries are written
  // from the bytes kept of that write (SerialisedDictionary), so that a change costs in
  // proportion to itself. The file's bytes are exactly those write() would write; a failed write
  // leaves the kept bytes matching `value`, so that the next write carries the change. Debug
  // builds check the bytes against a whole serialisation and stop on a key left unnamed.
  //
  // Kept bytes are not held in memory once written: the store keeps the file it wrote open and
  // copies unchanged entries from it (AtomicFile's pieces in a source file). Before each such
  // write it checks that the file there is still that one, as written (same file, size and
  // modification time); when not, or when a write that took bytes from it fails, everything is
  // serialised again from `value`.
  Status writeChanged(UserFile file, const PropertyList& value,
                      std::span<const std::string> changedKeys);
  // Serialises a dictionary file's `value` (as loaded or last written) now, unless its bytes
  // are kept already, so that the first writeChanged() costs no more than the next. Each entry
  // the file on disk holds exactly where the serialisation puts it is kept as its place in that
  // file, not in memory. Nothing is written; a value that cannot be serialised is left for the
  // write to report.
  void prepareChanges(UserFile file, const PropertyList& value);
  // Replaces the picture file `fileName` (a bare name ending in ".jpg") with `bytes`, creating
  // the documents directory when needed; its interrupted writes are removed at start-up like
  // those of the user files. A name that is not a bare picture name writes nothing.
  Status writePicture(std::string_view fileName, std::string_view bytes);
  // Removes `path` through the store's file system; a file already gone counts as removed. A
  // failure is reported as a diagnostic line and returned.
  Status removeFile(const std::filesystem::path& path);

  // True while a file that was unreadable, or not read exactly, waits to be kept aside.
  bool isUnreadable(UserFile file) const { return state(file).keepAside.has_value(); }

 private:
  // The file a dictionary file's kept pieces lie in, open for reading, and what it was when it
  // was opened, so that a change by anyone else shows.
  struct HeldFile {
    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
  };
  struct FileState {
    // Why the file must be kept before a write replaces it ("could not be read ...").
    std::optional<std::string> keepAside;
    // A dictionary file's bytes as last serialised, entry by entry.
    SerialisedDictionary serialised;
    HeldFile held;
  };

  using WriteStep = std::function<Status(const std::filesystem::path&)>;
  // Makes the folder, keeps an unreadable file aside, runs `step` on the file's path and reports
  // a failure in one diagnostic line.
  Status writeWith(UserFile file, const WriteStep& step);
  // Writes `file` from its kept serialisation of `value`.
  Status writeSerialised(UserFile file, const PropertyList& value);
  void checkSerialised(UserFile file, const PropertyList& value) const;
  // Opens the file at `path` for the kept pieces to lie in; false when it cannot be.
  bool hold(FileState& state, const std::filesystem::path& path);
  void release(FileState& state);
  // True when the file at `path` is still the held one, unchanged since it was opened.
  bool heldIsCurrent(const FileState& state, const std::filesystem::path& path) const;
  // The held file's `length` bytes at `offset`; nothing when it cannot read them all.
  std::optional<std::string> readHeld(const FileState& state, off_t offset,
                                      std::size_t length) const;
  // Whether the held file has `bytes` at `offset`.
  bool heldHolds(const FileState& state, off_t offset, std::string_view bytes) const;

  FileState& state(UserFile file) { return states_[static_cast<std::size_t>(file)]; }
  const FileState& state(UserFile file) const { return states_[static_cast<std::size_t>(file)]; }
  // `reason` is a copy: keeping the file clears the state it comes from.
  Status keepAside(UserFile file, std::string reason);
  std::string asideSuffix() const;

  DocumentsDirectory documents_;
  RunLoop& runLoop_;
  FileSystem& fileSystem_;
  std::array<FileState, 5> states_;
};

}  // namespace kinetra
