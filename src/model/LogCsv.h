#pragma once

#include <cstddef>
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

  // The same text as bytes made a piece at a time, for a download of ten years that should not
  // be held whole: each piece is a few whole days (or a section's head) of at least
  // `pieceBytes`, bar the last. A section's days are chosen when its head is made; each is read
  // from the log when its piece is made, so a day changed meanwhile comes as it is then, and one
  // deleted meanwhile has no rows. Holds its inputs by reference: they must outlive it.
  class Pieces {
   public:
    static constexpr std::size_t kPieceBytes = 64 * 1024;

    explicit Pieces(Inputs inputs, std::size_t pieceBytes = kPieceBytes)
        : inputs_(inputs), pieceBytes_(pieceBytes) {}

    // The next piece; empty once the text is all given.
    std::vector<std::uint8_t> next();

   private:
    // Appends the next part of the text (a section's head, or one day) to `piece`, or moves on to
    // the next section; false at the end.
    bool appendNextPart(std::vector<std::uint8_t>& piece);

    Inputs inputs_;
    std::size_t pieceBytes_;
    std::size_t section_ = 0;
    bool headGiven_ = false;
    std::vector<std::string> days_;  // the current section's, once its head is given
    std::size_t nextDay_ = 0;
  };

  // `value` between double quotes, each double quote inside it doubled.
  static std::string quoted(std::string_view value);
  // Appends quoted(value) to `csv`.
  static void appendQuoted(std::string& csv, std::string_view value);
};

}  // namespace kinetra
