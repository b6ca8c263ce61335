#include "model/WorkoutList.h"

#include <algorithm>
#include <iterator>

namespace kinetra {

namespace {

PropertyList::Array* arrayOf(PropertyList& workouts) {
  return workouts.isArray() ? &workouts.asArray() : nullptr;
}

const PropertyList::Array* arrayOf(const PropertyList& workouts) {
  return workouts.isArray() ? &workouts.asArray() : nullptr;
}

const PropertyList::Array* workoutAt(const PropertyList& workouts, std::size_t index) {
  const PropertyList::Array* all = arrayOf(workouts);
  if (all == nullptr || index >= all->size() || !(*all)[index].isArray()) return nullptr;
  return &(*all)[index].asArray();
}

PropertyList::Array* workoutAt(PropertyList& workouts, std::size_t index) {
  PropertyList::Array* all = arrayOf(workouts);
  if (all == nullptr || index >= all->size() || !(*all)[index].isArray()) return nullptr;
  return &(*all)[index].asArray();
}

std::string textOf(const PropertyList& value) {
  return value.isString() ? std::string(value.asString()) : std::string();
}

// Moves element `from` of `items` to index `to`, the others keeping their order.
bool moveElement(PropertyList::Array& items, std::size_t from, std::size_t to) {
  if (from >= items.size() || to >= items.size()) return false;
  PropertyList moving = std::move(items[from]);
  items.erase(items.begin() + static_cast<std::ptrdiff_t>(from));
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(to), std::move(moving));
  return true;
}

}  // namespace

std::size_t WorkoutList::count(const PropertyList& workouts) {
  const PropertyList::Array* all = arrayOf(workouts);
  return all == nullptr ? 0 : all->size();
}

std::string WorkoutList::nameOf(const PropertyList& workouts, std::size_t index) {
  const PropertyList::Array* workout = workoutAt(workouts, index);
  return workout == nullptr || workout->empty() ? std::string() : textOf(workout->front());
}

std::vector<std::string> WorkoutList::exercisesOf(const PropertyList& workouts, std::size_t index) {
  std::vector<std::string> names;
  const PropertyList::Array* workout = workoutAt(workouts, index);
  if (workout == nullptr) return names;
  for (std::size_t i = 1; i < workout->size(); ++i) names.push_back(textOf((*workout)[i]));
  return names;
}

bool WorkoutList::acceptsName(const PropertyList& workouts, std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < count(workouts); ++i) {
    const PropertyList::Array* workout = workoutAt(workouts, i);
    if (workout != nullptr && !workout->empty() && workout->front().isString() &&
        workout->front().asString() == name) {
      return false;
    }
  }
  return true;
}

void WorkoutList::add(PropertyList& workouts, std::string name,
                      const std::vector<std::string>& exercises) {
  if (!workouts.isArray()) return;
  PropertyList::Array workout{PropertyList(std::move(name))};
  for (const std::string& exercise : exercises) workout.emplace_back(exercise);
  workouts.asArray().emplace_back(std::move(workout));
}

void WorkoutList::addExercises(PropertyList& workouts, std::size_t index,
                               const std::vector<std::string>& names) {
  PropertyList::Array* workout = workoutAt(workouts, index);
  if (workout == nullptr) return;
  for (const std::string& name : names) {
    const bool held = std::any_of(workout->begin(), workout->end(), [&](const PropertyList& value) {
      return value.isString() && value.asString() == name;
    });
    if (!held) workout->emplace_back(name);
  }
}

bool WorkoutList::remove(PropertyList& workouts, std::size_t index) {
  PropertyList::Array* all = arrayOf(workouts);
  if (all == nullptr || index >= all->size()) return false;
  all->erase(all->begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool WorkoutList::move(PropertyList& workouts, std::size_t from, std::size_t to) {
  PropertyList::Array* all = arrayOf(workouts);
  return all != nullptr && moveElement(*all, from, to);
}

bool WorkoutList::removeExercise(PropertyList& workouts, std::size_t index, std::size_t row) {
  PropertyList::Array* workout = workoutAt(workouts, index);
  if (workout == nullptr || row + 1 >= workout->size()) return false;
  workout->erase(workout->begin() + static_cast<std::ptrdiff_t>(row + 1));
  return true;
}

bool WorkoutList::moveExercise(PropertyList& workouts, std::size_t index, std::size_t from,
                               std::size_t to) {
  PropertyList::Array* workout = workoutAt(workouts, index);
  if (workout == nullptr || workout->empty()) return false;
  return from + 1 < workout->size() && to + 1 < workout->size() &&
         moveElement(*workout, from + 1, to + 1);
}

void WorkoutList::toggle(std::vector<std::string>& picked, const std::string& name) {
  const auto found = std::find(picked.begin(), picked.end(), name);
  if (found != picked.end()) {
    picked.erase(found);
  } else {
    picked.push_back(name);
  }
}

}  // namespace kinetra
