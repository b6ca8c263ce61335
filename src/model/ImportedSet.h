#pragma once

#include <string>
#include <vector>

namespace kinetra {

// One set read from an imported file, in the shape of the log it goes to: the day key in the
// logs' date style, the exercise's name, and the set's strings (weight text, repetitions and
// note for strength; four values and the note for an aerobic set).
struct ImportedSet {
  std::string day;
  std::string exercise;
  bool aerobic = false;
  std::vector<std::string> values;
};

}  // namespace kinetra
