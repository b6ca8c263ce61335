#include "model/LogEntry.h"

#include <iterator>
#include <utility>

namespace kinetra {

const PropertyList::Array* LogEntry::find(const PropertyList& log, std::string_view day,
                                          std::string_view exercise) {
  if (!log.isDictionary()) return nullptr;
  const auto dayValue = log.asDictionary().find(day);
  if (dayValue == log.asDictionary().end() || !dayValue->second.isDictionary()) return nullptr;
  const PropertyList::Dictionary& entries = dayValue->second.asDictionary();
  const auto entry = entries.find(exercise);
  if (entry == entries.end() || !entry->second.isArray()) return nullptr;
  return &entry->second.asArray();
}

PropertyList::Array* LogEntry::find(PropertyList& log, std::string_view day,
                                    std::string_view exercise) {
  return const_cast<PropertyList::Array*>(find(std::as_const(log), day, exercise));
}

Status LogEntry::append(PropertyList& log, std::string_view day, std::string_view exercise,
                        const std::vector<std::string>& values) {
  if (!log.isDictionary()) return Status::Corrupt("the log is not a dictionary of days");
  PropertyList::Dictionary& days = log.asDictionary();
  auto dayValue = days.find(day);
  if (dayValue == days.end()) {
    dayValue = days.emplace(std::string(day), PropertyList::Dictionary{}).first;
  } else if (!dayValue->second.isDictionary()) {
    return Status::Corrupt("the day \"" + std::string(day) + "\" of the log is not a dictionary");
  }
  PropertyList::Dictionary& entries = dayValue->second.asDictionary();
  auto entry = entries.find(exercise);
  if (entry == entries.end()) {
    entry = entries.emplace(std::string(exercise), PropertyList::Array{}).first;
  } else if (!entry->second.isArray()) {
    return Status::Corrupt("the entry of \"" + std::string(exercise) + "\" on \"" +
                           std::string(day) + "\" is not an array");
  }
  for (const std::string& value : values) entry->second.asArray().emplace_back(value);
  return Status::Ok();
}

bool LogEntry::removeGroup(PropertyList::Array& entry, std::size_t group, std::size_t groupSize) {
  if (groupSize == 0 || group >= entry.size() / groupSize) return false;
  const auto first = entry.begin() + static_cast<std::ptrdiff_t>(group * groupSize);
  entry.erase(first, first + static_cast<std::ptrdiff_t>(groupSize));
  return true;
}

std::string_view LogEntry::text(const PropertyList::Array& entry, std::size_t index) {
  if (index >= entry.size() || !entry[index].isString()) return {};
  return entry[index].asString();
}

std::vector<std::string> LogEntry::exercisesOn(const PropertyList& log, std::string_view day) {
  std::vector<std::string> names;
  const PropertyList* entries = log.isDictionary() ? log.find(day) : nullptr;
  if (entries == nullptr || !entries->isDictionary()) return names;
  for (const auto& [name, entry] : entries->asDictionary()) names.push_back(name);
  return names;
}

bool LogEntry::removeDay(PropertyList& log, std::string_view day) {
  if (!log.isDictionary()) return false;
  PropertyList::Dictionary& days = log.asDictionary();
  const auto found = days.find(day);
  if (found == days.end()) return false;
  days.erase(found);
  return true;
}

}  // namespace kinetra
