#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Date.h"
#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"

namespace kinetra {

// The CSV text of the log export: the cardio section ("Cardio", its header, one row per
// complete group of five values) followed by the strength section ("Exercise", its header, one
// row per complete group of three values), each over the days of its own log less than `days`
// × 86400 seconds before `now` (days after `now` always count), oldest first.
//
// Layout: headers end without a line feed; every date group starts with a line feed (so the
// first one follows its header and every further one is preceded by an empty line); each row
// ends with a line feed; the sections are parted by two line feeds. Every field of a row is put
// between double quotes, a double quote inside a value written twice (RFC 4180), so any CSV
// reader gets the stored value back. Sets are numbered from 1 per exercise and day. Exercises
// of a day come in the log's key order (sorted). A day key the formatter cannot read is left
// out, as is a trailing group of too few values; values that are not strings are empty fields.
// A log that is not a dictionary has no days. Pure: reads its inputs, changes nothing.
class LogCsv {
 public:
  static constexpr std::string_view kCardioHeader =
      "Date,Exercise,Set,Duration,Speed/Resistance/Distance/Jumps/Sets,"
      "Elevation/Avg HR/Incline/Steps,Calories/Laps/Matches,Notes";
  static constexpr std::string_view kStrengthHeader = "Date,Exercise,Set,Weight,Reps,Notes";

  struct Inputs {
    const PropertyList& exerciseLog;  // three strings per set
    const PropertyList& aerobicsLog;  // five strings per set
    Date now;
    int days = 1;
    const DateFormatter& formatter;  // reads the day keys and writes the rows' dates
  };

  static std::string build(const Inputs& inputs);
  // The same text as bytes.
  static std::vector<std::uint8_t> buildBytes(const Inputs& inputs);

  // `value` between double quotes, each double quote inside it doubled.
  static std::string quoted(std::string_view value);
  // Appends quoted(value) to `csv`.
  static void appendQuoted(std::string& csv, std::string_view value);
};

}  // namespace kinetra
