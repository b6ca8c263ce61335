#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/DocumentsDirectory.h"
#include "foundation/PropertyList.h"
#include "foundation/Status.h"

namespace kinetra {

class RunLoop;

// The user's five property-list files.
enum class UserFile { kWorkouts, kCustomExercises, kExerciseLog, kAerobicsLog, kSettings };

// The user's files in the documents directory: read at start-up, written whole and atomically
// after each change. write() is the one way a user file is written.
//
// A file that exists at start-up but cannot be read (it does not parse, or its top level is not
// the kind its field holds) loads as missing, but its bytes are not lost: the first write that
// would replace it first renames it to "<name>.unreadable-<YYYYMMDD-HHMMSS>" (local time from
// the run loop's clock) and says so in one diagnostic line. Every failed write is reported in
// one diagnostic line too; the caller keeps the value in memory, so the next write of the same
// file carries it to disk.
//
// Not thread-safe; the run loop's thread only. The run loop must outlive the store.
class UserFileStore {
 public:
  UserFileStore(DocumentsDirectory documents, RunLoop& runLoop);

  static std::string_view fileName(UserFile file);
  // The top level each file must have: an array for workouts and custom exercises, a
  // dictionary for the logs and the settings.
  static PropertyList::Kind topLevel(UserFile file);

  const DocumentsDirectory& documents() const { return documents_; }

  // The file's value when it exists and reads as its top-level kind. Nothing when it is missing
  // or unreadable; an unreadable file is remembered until it has been moved aside.
  std::optional<PropertyList> load(UserFile file);

  // Replaces the file with `value`, creating the documents directory when needed. When the file
  // was unreadable at load and cannot be moved aside, nothing is written.
  Status write(UserFile file, const PropertyList& value);

  // True while an unreadable file waits to be moved aside.
  bool isUnreadable(UserFile file) const { return state(file).unreadable.has_value(); }

 private:
  struct FileState {
    std::optional<std::string> unreadable;  // why it could not be read
  };

  FileState& state(UserFile file) { return states_[static_cast<std::size_t>(file)]; }
  const FileState& state(UserFile file) const { return states_[static_cast<std::size_t>(file)]; }
  // `reason` is a copy: moving clears the state it comes from.
  Status moveAside(UserFile file, std::string reason);
  std::string asideSuffix() const;

  DocumentsDirectory documents_;
  RunLoop& runLoop_;
  std::array<FileState, 5> states_;
};

}  // namespace kinetra
