#include "foundation/ResourceBundle.h"

#include "foundation/DocumentsDirectory.h"

#include <string>
#include <system_error>

namespace kinetra {

namespace {

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
  const auto [folderEnd, fileAt] =
      std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  return folderEnd == folder.end();
}

}  // namespace

std::filesystem::path ResourceBundle::defaultPath() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && isInside(executable, KINETRA_BUILD_DIR)) return KINETRA_SOURCE_RESOURCES;
  return KINETRA_INSTALLED_RESOURCES;
}

std::optional<std::filesystem::path> ResourceBundle::pathForResource(std::string_view name,
                                                                     std::string_view type) const {
  std::string file(name);
  if (!type.empty()) file.append(".").append(type);
  if (!DocumentsDirectory::isBareName(file)) return std::nullopt;
  auto path = directory_ / file;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return path;
}

}  // namespace kinetra
