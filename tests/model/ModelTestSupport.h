#pragma once

#include <string>

#include "foundation/PropertyList.h"

namespace kinetra::test {

// A strength record of the catalogue's layout.
inline PropertyList exerciseRecord(const std::string& name, const std::string& target = "Chest") {
  return PropertyList::Dictionary{{"name", name},          {"image", name},
                                  {"description", "d"},    {"target1", target},
                                  {"muscle1", "Deltoids"}, {"difficulty", "Beginner"}};
}

}  // namespace kinetra::test
