#include "model/DayList.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace kinetra {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Reads `key` into `moments`, or names it in `skipped`.
void collect(const std::string& key, const DateFormatter& formatter, std::vector<Date>& moments,
             std::vector<std::string>& skipped) {
  const std::optional<Date> moment = formatter.dateFromString(key);
  if (moment) {
    moments.push_back(*moment);
  } else {
    skipped.push_back(key);
  }
}

DayList formatted(std::vector<Date> moments, std::vector<std::string> skipped,
                  const DateFormatter& formatter) {
  std::sort(moments.begin(), moments.end());
  DayList list;
  list.days.reserve(moments.size());
  for (const Date moment : moments) list.days.push_back(formatter.stringFromDate(moment));
  list.skippedKeys = std::move(skipped);
  return list;
}

}  // namespace

DayList DayList::daysWithExercise(const PropertyList& log, std::string_view exercise,
                                  const DateFormatter& formatter) {
  std::vector<Date> moments;
  std::vector<std::string> skipped;
  if (log.isDictionary()) {
    for (const auto& [key, day] : log.asDictionary()) {
      if (day.find(exercise) == nullptr) continue;
      collect(key, formatter, moments, skipped);
    }
  }
  return formatted(std::move(moments), std::move(skipped), formatter);
}

DayList DayList::daysWithin(const PropertyList& strengthLog, const PropertyList& aerobicLog,
                            Date now, int days, const DateFormatter& formatter) {
  std::vector<Date> moments;
  std::vector<std::string> skipped;
  for (const PropertyList* log : {&strengthLog, &aerobicLog}) {
    if (!log->isDictionary()) continue;
    for (const auto& entry : log->asDictionary()) collect(entry.first, formatter, moments, skipped);
  }
  // The day count is multiplied as an integer (wide enough for any int), then used in seconds.
  const double limit = static_cast<double>(std::int64_t{days} * kSecondsPerDay);
  std::erase_if(moments, [&](Date moment) {
    const double age = now.timeIntervalSinceDate(moment);
    return !(age < 0 || age < limit);
  });
  // A day in both logs is listed once.
  std::sort(moments.begin(), moments.end());
  moments.erase(std::unique(moments.begin(), moments.end()), moments.end());
  return formatted(std::move(moments), std::move(skipped), formatter);
}

}  // namespace kinetra
