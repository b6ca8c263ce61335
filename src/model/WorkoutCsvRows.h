#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/Status.h"
#include "model/CsvReader.h"
#include "model/ImportedSet.h"

namespace kinetra {

// The sets of the CSV that other workout logs export: a header naming the columns `Date`,
// `Exercise Name`, `Set Order`, `Weight` and `Reps`, and optionally `Weight Unit`, `RPE`,
// `Distance`, `Distance Unit`, `Seconds`, `Notes`, `Workout Name`, `Workout Notes` (any order,
// any case; other columns are ignored), then one row per set. With a semicolon between fields a
// decimal comma is read as a decimal point.
//
// Each row becomes one set of its day (the date part of "2019-01-11 12:31:54"):
// - An aerobic exercise (one of the nine, by its own name or a common one: "Running" is
//   jogging, "Bike" cycling, ...) gets an aerobic set: the duration in minutes from `Seconds`,
//   the distance as the second value where that value is a distance (jogging, rowing,
//   swimming) and in the note otherwise; the note is `Notes`.
// - Any other exercise gets a strength set: the weight in the log's weight text ("62.5 kg",
//   "135 lbs"; kilograms when no unit is given), the repetitions ("0" when empty), and a note
//   made of `Notes`, "RPE n", the set's mark when `Set Order` is not a number ("warm-up" for
//   W, "drop set" for D, "failure" for F) and any distance or time, parted by "; ".
// A row with nothing to log (no weight, repetitions, distance, time or note) is left out.
// `Workout Name` and `Workout Notes` describe the workout, not a set, and are not kept.
//
// Names are trimmed, a "/" becomes "-" and leading dots go, so every name can also name a
// custom exercise's pictures; a name that matches a known exercise but for case takes that
// exercise's spelling.
//
// Refused, as Corrupt with a message for the user naming the line: a row with another number
// of fields than the header, a date, weight, repetition count or unit that cannot be read, a
// row without an exercise name, and a name too long to be an exercise's.
class WorkoutCsvRows {
 public:
  struct Inputs {
    const DateFormatter& days;     // the logs' day keys
    const DateFormatter& isoDays;  // "yyyy-MM-dd" in the same time zone
    // The spelling of a known exercise whose name matches but for case; nothing otherwise.
    std::function<std::optional<std::string>(std::string_view)> knownName;
  };

  // True when the first record that is not blank names at least the required columns.
  static bool matches(const CsvReader::Table& table);

  static Result<std::vector<ImportedSet>> read(const CsvReader::Table& table, const Inputs& inputs);
};

}  // namespace kinetra
