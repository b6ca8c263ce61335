#pragma once

#include <filesystem>

namespace kinetra {

// Where the files that come with kinetra lie.

// Whether the running executable lies inside this build's tree, in which case data files are
// read from the source tree rather than from where they are installed. False when the
// executable's path cannot be read.
bool runsFromBuildTree();

// The installed data folder ("share/kinetra"), found from the executable's own folder, so that
// an installation works under any prefix and wherever it is moved as a whole (a staging
// DESTDIR included). The configured folder when the executable's path cannot be read.
std::filesystem::path installedDataDirectory();

}  // namespace kinetra
