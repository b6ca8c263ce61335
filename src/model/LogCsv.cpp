#include "model/LogCsv.h"

#include "model/DayList.h"
#include "model/LogEntry.h"

namespace kinetra {

namespace {

constexpr std::size_t kCardioValues = 5;
constexpr std::size_t kStrengthValues = 3;

}  // namespace

std::string LogCsv::build(const Inputs& inputs) {
  std::string csv = "Cardio\n";
  csv += kCardioHeader;
  appendSection(csv, inputs.aerobicsLog, kCardioValues, inputs);
  csv += "\n\nExercise\n";
  csv += kStrengthHeader;
  appendSection(csv, inputs.exerciseLog, kStrengthValues, inputs);
  return csv;
}

std::string LogCsv::quoted(std::string_view value) {
  std::string field;
  appendQuoted(field, value);
  return field;
}

void LogCsv::appendQuoted(std::string& csv, std::string_view value) {
  csv += '"';
  for (std::size_t quote = value.find('"'); quote != std::string_view::npos;
       quote = value.find('"')) {
    csv.append(value.substr(0, quote + 1));
    csv += '"';
    value.remove_prefix(quote + 1);
  }
  csv.append(value);
  csv += '"';
}

void LogCsv::appendSection(std::string& csv, const PropertyList& log, std::size_t groupSize,
                           const Inputs& inputs) {
  // The days of this log alone: the other log stands in as an empty one.
  const PropertyList none = PropertyList::Dictionary{};
  const DayList days = DayList::daysWithin(log, none, inputs.now, inputs.days, inputs.formatter);
  for (const std::string& day : days.days) {
    csv += '\n';
    appendDay(csv, log, day, groupSize);
  }
}

void LogCsv::appendDay(std::string& csv, const PropertyList& log, const std::string& day,
                       std::size_t groupSize) {
  for (const std::string& exercise : LogEntry::exercisesOn(log, day)) {
    const PropertyList::Array* entry = LogEntry::find(log, day, exercise);
    if (entry == nullptr) continue;
    for (std::size_t group = 0; (group + 1) * groupSize <= entry->size(); ++group) {
      appendQuoted(csv, day);
      csv += ',';
      appendQuoted(csv, exercise);
      csv += ',';
      appendQuoted(csv, std::to_string(group + 1));
      for (std::size_t i = 0; i < groupSize; ++i) {
        csv += ',';
        appendQuoted(csv, LogEntry::text(*entry, group * groupSize + i));
      }
      csv += '\n';
    }
  }
}

}  // namespace kinetra
