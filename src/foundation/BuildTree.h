#pragma once

namespace kinetra {

// Whether the running executable lies inside this build's tree, in which case data files are
// read from the source tree rather than from where they are installed. False when the
// executable's path cannot be read.
bool runsFromBuildTree();

}  // namespace kinetra
