#pragma once

#include <string>
#include <vector>

#include "foundation/PropertyList.h"
#include "model/ExerciseRecord.h"

namespace kinetra::test {

// A strength record of the catalogue's layout.
inline PropertyList exerciseRecord(const std::string& name, const std::string& target = "Chest") {
  return PropertyList::Dictionary{{"name", name},          {"image", name},
                                  {"description", "d"},    {"target1", target},
                                  {"muscle1", "Deltoids"}, {"difficulty", "Beginner"}};
}

// The "name" of each record, in order.
inline std::vector<std::string> namesOf(const ExerciseRecords& records) {
  std::vector<std::string> names;
  for (const ExerciseRecord& record : records) {
    names.push_back(std::string(recordString(*record, "name").value_or("")));
  }
  return names;
}

}  // namespace kinetra::test
