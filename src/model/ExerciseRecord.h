#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "foundation/PropertyList.h"

namespace kinetra {

// An exercise record: a dictionary of strings ("name", "image", "description", "target1", ...).
// Records are held by shared pointer so that one record can stand in several lists at once: a
// custom exercise is the same object in `customExercises`, in `exercises` and in the name
// index, and a change made through any of them is seen through all. A record read from a file
// is kept exactly as read, even when it is not a dictionary (it then has no keys).
using ExerciseRecord = std::shared_ptr<PropertyList>;
using ExerciseRecords = std::vector<ExerciseRecord>;

// The string under `key` of a record; nothing when the record lacks it or holds another kind.
// The view lives as long as the record's entry.
std::optional<std::string_view> recordString(const PropertyList& record, std::string_view key);

// The record of `records` named `name`: where several share the name (a custom exercise may
// take a catalogue name), the last of them, as every list and screen reads it. Null when none.
ExerciseRecord recordNamed(const ExerciseRecords& records, std::string_view name);

// The record at `row` of `records`; null when there is no list or no such row.
ExerciseRecord recordAtRow(const ExerciseRecords* records, int row);

// True for the nine aerobic exercises, which are recognised by name alone (each begins with
// one blank); every other name is a strength exercise.
bool isAerobicExercise(std::string_view name);

}  // namespace kinetra
