#include "model/LogImport.h"

#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "model/CsvReader.h"
#include "model/CustomExerciseName.h"
#include "model/KinetraCsvRows.h"
#include "model/LogEntry.h"
#include "model/WorkoutCsvRows.h"

namespace kinetra {

namespace {

std::string lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// "1,234".
std::string grouped(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
  return grouped(count) + " " + std::string(count == 1 ? one : many);
}

// The sets of one day and exercise of one log, in the file's order.
struct Group {
  const ImportedSet* first = nullptr;
  std::vector<const ImportedSet*> sets;
};

}  // namespace

Result<std::vector<ImportedSet>> LogImport::readSets(std::string_view bytes, const Inputs& inputs) {
  if (bytes.size() > kMaxBytes) return Status::TooLarge("the file is larger than 32 MB.");
  Result<CsvReader::Table> table = CsvReader::read(bytes);
  if (!table.ok()) return table.status();
  if (KinetraCsvRows::matches(*table)) return KinetraCsvRows::read(*table, inputs.days);
  if (!WorkoutCsvRows::matches(*table)) {
    return Status::Corrupt("its columns are not a Kinetra export or a workout log's.");
  }
  std::map<std::string, std::string> known;
  for (const ExerciseRecord& record : inputs.exercises) {
    const std::optional<std::string_view> name =
        record ? recordString(*record, "name") : std::nullopt;
    if (name) known.emplace(lowered(*name), std::string(*name));
  }
  const auto knownName = [&](std::string_view name) -> std::optional<std::string> {
    const auto found = known.find(lowered(name));
    if (found == known.end()) return std::nullopt;
    return found->second;
  };
  return WorkoutCsvRows::read(*table, {inputs.days, inputs.isoDays, knownName});
}

Result<LogImport::Outcome> LogImport::run(std::string_view bytes, const Inputs& inputs) {
  Result<std::vector<ImportedSet>> sets = readSets(bytes, inputs);
  if (!sets.ok()) return sets.status();

  // Groups by log, day and exercise, in the order each first appears.
  std::map<std::tuple<bool, std::string_view, std::string_view>, std::size_t> index;
  std::vector<Group> groups;
  for (const ImportedSet& set : *sets) {
    const auto [found, fresh] =
        index.try_emplace({set.aerobic, set.day, set.exercise}, groups.size());
    if (fresh) groups.push_back(Group{&set, {}});
    groups[found->second].sets.push_back(&set);
  }

  std::set<std::string, std::less<>> knownNames;
  for (const ExerciseRecord& record : inputs.exercises) {
    if (record == nullptr) continue;
    if (const auto name = recordString(*record, "name")) knownNames.emplace(*name);
  }

  Outcome outcome;
  outcome.exerciseLog = inputs.exerciseLog;
  outcome.aerobicsLog = inputs.aerobicsLog;
  std::set<std::string, std::less<>> days;
  for (const Group& group : groups) {
    const ImportedSet& first = *group.first;
    PropertyList& log = first.aerobic ? outcome.aerobicsLog : outcome.exerciseLog;
    const PropertyList& before = first.aerobic ? inputs.aerobicsLog : inputs.exerciseLog;
    const PropertyList::Array* entry = LogEntry::find(before, first.day, first.exercise);
    if (entry != nullptr && !entry->empty()) {
      outcome.setsSkipped += group.sets.size();
      continue;
    }
    std::vector<std::string> values;
    for (const ImportedSet* set : group.sets) {
      values.insert(values.end(), set->values.begin(), set->values.end());
    }
    if (!LogEntry::append(log, first.day, first.exercise, values).ok()) {
      outcome.setsSkipped += group.sets.size();  // a day or entry of another kind
      continue;
    }
    (first.aerobic ? outcome.aerobicsLogChanged : outcome.exerciseLogChanged) = true;
    outcome.setsAdded += group.sets.size();
    days.insert(first.day);
    if (!first.aerobic && knownNames.insert(first.exercise).second &&
        CustomExerciseName::problem(first.exercise).empty()) {
      outcome.newExercises.push_back(first.exercise);
    }
  }
  outcome.daysAdded = days.size();
  return outcome;
}

std::string LogImport::summary(const Outcome& outcome) {
  std::string text = "Imported " + counted(outcome.setsAdded, "set", "sets");
  if (outcome.setsAdded > 0) text += " on " + counted(outcome.daysAdded, "day", "days");
  if (outcome.setsSkipped > 0)
    text += "; skipped " + grouped(outcome.setsSkipped) + " already logged";
  return text + ".";
}

}  // namespace kinetra
