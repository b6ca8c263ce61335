#pragma once

#include <compare>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Date.h"
#include "model/Weight.h"

namespace kinetra {

// The personal records of one strength exercise, gathered set by set:
//   - the heaviest weight lifted (for at least one repetition);
//   - the most repetitions at that weight;
//   - the best estimated one-repetition maximum, by Epley: weight × (1 + reps / 30), from sets
//     of at least one repetition and a weight above 0.
// Weights are compared in kilograms whatever unit each set was logged in (1 lb = 0.45359237 kg);
// each record keeps the set as it was logged and the day it was first reached: a later set
// equal to a record is not a new record. Sets whose weight or repetitions do not begin with a
// number, or that have no repetitions, are never records but keep their place in their day.
//
// Sets are added in the order they were logged within a day; days may come in any order.
// Adding the same sets in any order of days gives the same records.
class PersonalRecords {
 public:
  // A logged day: the moment its key reads as, then the key itself.
  struct Day {
    Date moment;
    std::string key;
    auto operator<=>(const Day&) const = default;
    bool operator==(const Day&) const = default;
  };

  // One logged set taken as a record, with its day.
  struct Record {
    Weight weight;
    double reps = 0;
    Day day;
    bool operator==(const Record& other) const;
  };

  // Adds the next set of `day` from its weight text and repetitions text.
  void add(const Day& day, std::string_view weightText, std::string_view repsText);

  const std::optional<Record>& heaviest() const { return heaviest_; }
  const std::optional<Record>& mostRepsAtHeaviest() const { return mostReps_; }
  const std::optional<Record>& bestEstimate() const { return bestEstimate_; }
  // The unit named by the weight text of the most recent set that names one (the last such set
  // of the latest such day), whatever else the set holds: the unit records are shown in. None
  // when no set names a unit.
  WeightUnit unit() const { return unit_; }
  bool empty() const { return !heaviest_.has_value(); }
  // The days sets were added on, in order.
  std::vector<Day> days() const;

  // True when set `index` of `day` has an estimate that beats the best estimate of every earlier
  // set: those of earlier days and the sets before it on its day. The first set with an
  // estimate beats nothing, and a set equal to the best so far is no new record.
  bool beatsEarlierBest(const Day& day, std::size_t index) const;

  // Epley's estimate of `record`, in kilograms.
  static double estimate(const Record& record);

  bool operator==(const PersonalRecords& other) const;

 private:
  // The estimate of each set of each day, in kilograms, in the order of the day's sets; none for
  // a set without one.
  std::map<Day, std::vector<std::optional<double>>> estimates_;
  std::optional<Record> heaviest_;
  std::optional<Record> mostReps_;
  std::optional<Record> bestEstimate_;
  WeightUnit unit_ = WeightUnit::kNone;
  std::optional<Day> unitDay_;
};

}  // namespace kinetra
