#pragma once

#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/Status.h"
#include "model/CsvReader.h"
#include "model/ImportedSet.h"

namespace kinetra {

// The sets of a CSV written by the log export (LogCsv): a "Cardio" line, its header and rows of
// eight fields (day, exercise, set number, four values, note), then an "Exercise" line, its
// header and rows of six (day, exercise, set number, weight text, repetitions, note). Blank
// lines are skipped; either section may be missing. Values are taken exactly as written, so an
// exported log comes back string for string, in the order of its rows.
//
// Refused, as Corrupt with a message for the user naming the line: a row outside a section or
// with a wrong number of fields, a day the formatter does not read, a set number that is not a
// positive number, an empty exercise name, an aerobic exercise among the strength rows or
// another exercise among the cardio rows. An aerobic row whose five values are all empty is
// not a set (the log never stores one) and is left out.
class KinetraCsvRows {
 public:
  // True when the first record that is not blank is the export's "Cardio" or "Exercise" line.
  static bool matches(const CsvReader::Table& table);

  static Result<std::vector<ImportedSet>> read(const CsvReader::Table& table,
                                               const DateFormatter& days);
};

}  // namespace kinetra
