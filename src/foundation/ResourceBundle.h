#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kinetra {

// The read-only resources installed with the application: the catalogue property lists and the
// bundle pictures, found by name and type ("Exercises", "plist").
class ResourceBundle {
 public:
  // The source tree's resources/ when the running executable lies in this build's tree, the
  // installed share directory otherwise.
  static std::filesystem::path defaultPath();

  explicit ResourceBundle(std::filesystem::path directory) : directory_(std::move(directory)) {}

  const std::filesystem::path& directory() const { return directory_; }

  // The path of `name`.`type` when such a regular file exists. Names that could leave the
  // bundle ("/", NUL, "." or "..") find nothing.
  std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                       std::string_view type) const;

 private:
  std::filesystem::path directory_;
};

}  // namespace kinetra
