#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"
#include "foundation/Status.h"
#include "model/ExerciseRecord.h"
#include "model/ImportedSet.h"

namespace kinetra {

// A CSV file taken into the logs: Kinetra's own export (KinetraCsvRows), so that exporting all
// records and importing them into empty logs gives the very same logs back, or another workout
// log's export (WorkoutCsvRows). Pure: it works on copies and hands back the new logs; the
// caller stores them.
//
// Nothing already logged is changed: the sets of a day and exercise that already holds sets
// (or whose entry is not a list) are all skipped and counted, so importing a file a second time
// adds nothing. The sets of a day and exercise come in the order of the file's rows, wherever
// they stand in it.
//
// A file that cannot be read whole is refused (Corrupt, TooLarge) with a message for the user,
// and nothing of it is taken.
class LogImport {
 public:
  static constexpr std::size_t kMaxBytes = 32 * 1024 * 1024;

  struct Inputs {
    const PropertyList& exerciseLog;
    const PropertyList& aerobicsLog;
    const ExerciseRecords& exercises;  // every known exercise, catalogue and custom
    const DateFormatter& days;         // the logs' day keys (medium style)
    const DateFormatter& isoDays;      // "yyyy-MM-dd" in the same time zone
  };

  struct Outcome {
    PropertyList exerciseLog;
    PropertyList aerobicsLog;
    bool exerciseLogChanged = false;
    bool aerobicsLogChanged = false;
    // Strength exercises with added sets that no known exercise is named after, in the order
    // they first appear; each can name a custom exercise (see CustomExerciseName).
    std::vector<std::string> newExercises;
    std::size_t setsAdded = 0;
    std::size_t daysAdded = 0;  // days that got at least one set, in either log
    std::size_t setsSkipped = 0;
  };

  static Result<Outcome> run(std::string_view bytes, const Inputs& inputs);

  // "Imported 1,234 sets on 210 days; skipped 12 already logged.", for the user.
  static std::string summary(const Outcome& outcome);

 private:
  static Result<std::vector<ImportedSet>> readSets(std::string_view bytes, const Inputs& inputs);
};

}  // namespace kinetra
