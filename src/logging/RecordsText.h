#pragma once

#include <string>

#include "model/PersonalRecords.h"

namespace kinetra {

// The personal records of a strength exercise as the back of the exercise card shows them,
// under the muscles text: up to three lines, each label indented by three blanks like the
// muscles text,
//
//      Heaviest: <weight> (<day>)
//      Most reps at <weight>: <reps> (<day>)
//      Est. 1RM: <estimate> (<weight> × <reps>, <day>)
//
// every weight in the unit of the exercise's most recent set, with at most one decimal, and each
// day as its log key. An exercise logged only without weight (bodyweight sets) has one line,
// "Most reps: <reps> (<day>)"; one with no set of at least one repetition reads
// "No records yet".
class RecordsText {
 public:
  static constexpr const char* kNoRecords = "   No records yet";

  static std::string describe(const PersonalRecords& records);
};

}  // namespace kinetra
