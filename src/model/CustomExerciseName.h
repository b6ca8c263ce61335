#pragma once

#include <string>
#include <string_view>

namespace kinetra {

// The name of one of the user's own exercises also names its two picture files in the
// documents folder ("name.jpg" and "name_t.jpg"), so it must be able to be one: no "/" or NUL,
// not "." or "..", not starting with "." (hidden files, and the names of the folder's own
// temporary files), and at most kMaxBytes bytes of UTF-8.
class CustomExerciseName {
 public:
  static constexpr std::size_t kMaxBytes = 200;

  CustomExerciseName() = delete;

  // Why `name` cannot name a custom exercise's files; empty when it can. The empty name is left
  // to the caller.
  static std::string problem(std::string_view name);
};

}  // namespace kinetra
