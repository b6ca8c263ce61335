#include "model/RecordBook.h"

#include <algorithm>
#include <utility>

#include "model/LogEntry.h"

namespace kinetra {

namespace {

constexpr std::size_t kStringsPerSet = 3;

void addSets(PersonalRecords& records, const PersonalRecords::Day& day,
             const PropertyList::Array& entry) {
  for (std::size_t first = 0; first + kStringsPerSet <= entry.size(); first += kStringsPerSet) {
    records.add(day, LogEntry::text(entry, first), LogEntry::text(entry, first + 1));
  }
}

}  // namespace

std::optional<PersonalRecords::Day> RecordBook::dayOf(std::string_view key) const {
  const std::optional<Date> moment = days_.dateFromString(key);
  if (!moment) return std::nullopt;
  return PersonalRecords::Day{*moment, std::string(key)};
}

PersonalRecords RecordBook::gather(const PropertyList& log, std::string_view exercise) const {
  std::vector<std::pair<PersonalRecords::Day, const PropertyList::Array*>> entries;
  if (log.isDictionary()) {
    for (const auto& [key, exercises] : log.asDictionary()) {
      const PropertyList::Array* entry = LogEntry::find(log, key, exercise);
      if (entry == nullptr) continue;
      std::optional<PersonalRecords::Day> day = dayOf(key);
      if (day) entries.emplace_back(std::move(*day), entry);
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  PersonalRecords records;
  for (const auto& [day, entry] : entries) addSets(records, day, *entry);
  return records;
}

PersonalRecords RecordBook::gatherFrom(const PropertyList& log, std::string_view exercise,
                                       const PersonalRecords& stale) const {
  PersonalRecords records;
  for (const PersonalRecords::Day& day : stale.days()) {
    const PropertyList::Array* entry = LogEntry::find(log, day.key, exercise);
    if (entry != nullptr) addSets(records, day, *entry);
  }
  return records;
}

const PersonalRecords& RecordBook::of(const PropertyList& log, std::string_view exercise) {
  auto found = exercises_.find(exercise);
  if (found == exercises_.end()) {
    found = exercises_.emplace(std::string(exercise), Held{gather(log, exercise)}).first;
  } else if (found->second.stale) {
    found->second = Held{gatherFrom(log, exercise, found->second.records)};
  }
  return found->second.records;
}

void RecordBook::setAppended(const PropertyList& log, std::string_view day,
                             std::string_view exercise) {
  const auto found = exercises_.find(exercise);
  if (found == exercises_.end()) return;
  const PropertyList::Array* entry = LogEntry::find(log, day, exercise);
  const std::optional<PersonalRecords::Day> ordered = dayOf(day);
  if (entry == nullptr || !ordered || entry->size() < kStringsPerSet) return;
  const std::size_t first = (entry->size() / kStringsPerSet - 1) * kStringsPerSet;
  // Stale records take the set too: its day is one to gather from again.
  found->second.records.add(*ordered, LogEntry::text(*entry, first),
                            LogEntry::text(*entry, first + 1));
}

void RecordBook::forget(std::string_view exercise) {
  const auto found = exercises_.find(exercise);
  if (found != exercises_.end()) found->second.stale = true;
}

void RecordBook::forgetDay(const PropertyList& log, std::string_view day) {
  for (const std::string& exercise : LogEntry::exercisesOn(log, day)) forget(exercise);
}

bool RecordBook::holds(std::string_view exercise) const {
  const auto found = exercises_.find(exercise);
  return found != exercises_.end() && !found->second.stale;
}

}  // namespace kinetra
