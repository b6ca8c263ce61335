#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/PropertyList.h"

namespace kinetra {

// The rules of the user's workouts, on the array they are stored in: each workout an array of
// strings, its name first, then the names of its exercises in the order they are done. Values
// of another kind (a hand-edited or foreign file) are kept as they are: they count as workouts
// and exercises without a name, and nothing here replaces them.
class WorkoutList {
 public:
  static std::size_t count(const PropertyList& workouts);
  // Element 0 of workout `index`; "" when it has none or it is not a string.
  static std::string nameOf(const PropertyList& workouts, std::size_t index);
  // The exercise names of workout `index` (its elements after the name).
  static std::vector<std::string> exercisesOf(const PropertyList& workouts, std::size_t index);

  // Whether a new workout may take `name`: not the empty text and no workout's name already
  // (exact comparison; blanks count, letter case counts).
  static bool acceptsName(const PropertyList& workouts, std::string_view name);
  // Appends a workout of `name` and `exercises`.
  static void add(PropertyList& workouts, std::string name,
                  const std::vector<std::string>& exercises);
  // Appends to workout `index` each of `names` it does not hold yet, in order.
  static void addExercises(PropertyList& workouts, std::size_t index,
                           const std::vector<std::string>& names);

  // False, and nothing changed, when an index is out of range.
  static bool remove(PropertyList& workouts, std::size_t index);
  static bool move(PropertyList& workouts, std::size_t from, std::size_t to);
  // Exercise `row` is element row + 1 of the workout: the name never moves or goes.
  static bool removeExercise(PropertyList& workouts, std::size_t index, std::size_t row);
  static bool moveExercise(PropertyList& workouts, std::size_t index, std::size_t from,
                           std::size_t to);

  // Ticks `name` in `picked` (appended at the end) or unticks it when it is there.
  static void toggle(std::vector<std::string>& picked, const std::string& name);
};

}  // namespace kinetra
