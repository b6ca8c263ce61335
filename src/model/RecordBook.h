#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/DateFormatter.h"
#include "foundation/PropertyList.h"
#include "model/PersonalRecords.h"

namespace kinetra {

// The personal records of the strength exercises, kept in memory beside the strength log (day
// key → exercise name → three strings per set) and never stored. An exercise's records are
// gathered from the whole log the first time they are asked for, then kept up to date set by
// set: whoever appends a set to the log tells the book, and whoever removes sets or days tells
// it which exercises to gather again. Removing only takes sets away, so an exercise is gathered
// again from the days its records were gathered from (and those appended to since), not from
// the whole log.
//
// Days are ordered by the moment their key reads as with the formatter; a key it cannot read
// has no place in time, and its sets are left out. The formatter must outlive the book. The run
// loop's thread only.
class RecordBook {
 public:
  explicit RecordBook(const DateFormatter& days) : days_(days) {}
  RecordBook(const RecordBook&) = delete;
  RecordBook& operator=(const RecordBook&) = delete;

  // The records of `exercise`, gathered from `log` on the first call and kept.
  const PersonalRecords& of(const PropertyList& log, std::string_view exercise);

  // The last set of `exercise`'s entry on `day` in `log` was just appended: the exercise's
  // records take it in (when they have been gathered; otherwise they will be, with it).
  void setAppended(const PropertyList& log, std::string_view day, std::string_view exercise);
  // Sets of `exercise` were removed: its records are gathered again when next asked. Every set
  // added to the log must go through setAppended, and a log replaced whole through forgetAll.
  void forget(std::string_view exercise);
  // The whole log was replaced (an import): every exercise's records are gathered again.
  void forgetAll() { exercises_.clear(); }
  // The exercises logged on `day` in `log`: call before removing the day.
  void forgetDay(const PropertyList& log, std::string_view day);

  // The day `key` as the records order it; nothing when the formatter cannot read it.
  std::optional<PersonalRecords::Day> dayOf(std::string_view key) const;
  // Gathers the records of `exercise` from the whole of `log`, oldest day first.
  PersonalRecords gather(const PropertyList& log, std::string_view exercise) const;
  // True when the records of `exercise` are held (gathered and not forgotten since).
  bool holds(std::string_view exercise) const;

 private:
  const DateFormatter& days_;
  struct Held {
    PersonalRecords records;
    bool stale = false;  // sets were removed since: gather again from the records' days
  };

  // The records of `exercise` from those of `stale.days()` that `log` still holds.
  PersonalRecords gatherFrom(const PropertyList& log, std::string_view exercise,
                             const PersonalRecords& stale) const;

  std::map<std::string, Held, std::less<>> exercises_;
};

}  // namespace kinetra
