#pragma once

#include "foundation/Status.h"

#include <filesystem>
#include <string_view>

namespace kinetra {

// The folder that holds the user's files. Files are addressed by bare names joined to it; there
// are no subdirectories, and a name that could leave the folder never reaches the file system.
class DocumentsDirectory {
 public:
  // `$XDG_DATA_HOME/kinetra`, else `$HOME/.local/share/kinetra`; relative to the working
  // directory when neither variable is set.
  static std::filesystem::path defaultPath();

  explicit DocumentsDirectory(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // The full path of the user file `name`. Refuses (InvalidArgument) an empty name, "." and
  // "..", and any name holding "/" or NUL.
  Result<std::filesystem::path> pathForFile(std::string_view name) const;

  // Creates the folder and its parents when missing (mode 0700: the log is personal).
  Status ensureExists() const;

  // True when `name` is a bare file name that pathForFile accepts.
  static bool isBareName(std::string_view name);

 private:
  std::filesystem::path path_;
};

}  // namespace kinetra
