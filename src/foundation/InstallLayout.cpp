#include "foundation/InstallLayout.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace kinetra {

namespace {

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
  const auto [folderEnd, fileAt] =
      std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  return folderEnd == folder.end();
}

std::optional<std::filesystem::path> executablePath() {
  std::error_code error;
  auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  return executable;
}

}  // namespace

bool runsFromBuildTree() {
  const auto executable = executablePath();
  return executable && isInside(*executable, KINETRA_BUILD_DIR);
}

std::filesystem::path installedDataDirectory() {
  const auto executable = executablePath();
  if (!executable) return KINETRA_INSTALLED_DATA;
  return (executable->parent_path() / KINETRA_BIN_TO_DATA).lexically_normal();
}

}  // namespace kinetra
