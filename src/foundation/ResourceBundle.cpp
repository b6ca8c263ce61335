#include "foundation/ResourceBundle.h"

#include "foundation/DocumentsDirectory.h"
#include "foundation/InstallLayout.h"

#include <string>
#include <system_error>

namespace kinetra {

std::filesystem::path ResourceBundle::defaultPath() {
  if (runsFromBuildTree()) return KINETRA_SOURCE_RESOURCES;
  return installedDataDirectory();
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
