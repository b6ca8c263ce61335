#include "foundation/BuildTree.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kinetra {

namespace {

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
  const auto [folderEnd, fileAt] =
      std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  return folderEnd == folder.end();
}

}  // namespace

bool runsFromBuildTree() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return !error && isInside(executable, KINETRA_BUILD_DIR);
}

}  // namespace kinetra
