#include "model/CustomExerciseName.h"

namespace kinetra {

std::string CustomExerciseName::problem(std::string_view name) {
  if (name.find('/') != std::string_view::npos) return "it holds a \"/\"";
  if (name.find('\0') != std::string_view::npos) return "it holds a NUL character";
  if (!name.empty() && name.front() == '.') return "it starts with \".\"";
  if (name.size() > kMaxBytes) {
    return "it is " + std::to_string(name.size()) + " bytes long, more than " +
           std::to_string(kMaxBytes);
  }
  return {};
}

}  // namespace kinetra
