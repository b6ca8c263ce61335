#include "SyntheticLog.h"

#include <array>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace kinetra {

namespace {

constexpr std::array<const char*, 6> kEquipment = {"Barbell", "Dumbbell",      "Cable",
                                                   "Machine", "Smith Machine", "Kettlebell"};
constexpr std::array<const char*, 25> kMovements = {
    "Bench Press",   "Incline Press", "Decline Press", "Fly",          "Pullover",
    "Row",           "Shrug",         "Deadlift",      "Good Morning", "Squat",
    "Front Squat",   "Lunge",         "Step Up",       "Calf Raise",   "Hip Thrust",
    "Curl",          "Hammer Curl",   "Extension",     "Kickback",     "Overhead Press",
    "Lateral Raise", "Front Raise",   "Upright Row",   "Crunch",       "Woodchopper"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 6> kNotes = {"felt strong",    "left shoulder tight", "PR!",
                                               "slow negatives", "spotter helped",      "easy"};
constexpr std::int64_t kFirstDay = 14613;  // Monday, Jan 4, 2010, in days since 1970
constexpr std::array<int, 4> kWeekdays = {0, 1, 3, 4};

static_assert(kEquipment.size() * kMovements.size() == SyntheticLog::kExerciseNames);

// "Jan 5, 2010" for a day counted from 1970-01-01 (H. Hinnant's civil_from_days).
std::string dayKey(std::int64_t days) {
  days += 719468;
  std::int64_t era = days / 146097;
  auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
  unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
  return std::string(kMonths[month - 1]) + " " + std::to_string(day) + ", " + std::to_string(year);
}

std::string exerciseName(std::size_t index) {
  return std::string(kEquipment[index / kMovements.size()]) + " " +
         kMovements[index % kMovements.size()];
}

}  // namespace

PropertyList SyntheticLog::make(const Options& options) {
  // mt19937_64's sequence is fixed by the standard; distributions are not, so none is used.
  std::mt19937_64 random(options.seed);
  auto below = [&](std::uint64_t bound) { return static_cast<std::size_t>(random() % bound); };
  std::vector<std::size_t> names(kExerciseNames);
  std::iota(names.begin(), names.end(), std::size_t{0});

  PropertyList log = PropertyList::Dictionary{};
  for (int i = 0; i < options.trainingDays; ++i) {
    std::int64_t day = kFirstDay + i / 4 * 7 + kWeekdays[static_cast<std::size_t>(i % 4)];
    PropertyList::Dictionary entries;
    for (int e = 0; e < options.exercisesPerDay; ++e) {
      auto pick = static_cast<std::size_t>(e) + below(names.size() - static_cast<std::size_t>(e));
      std::swap(names[static_cast<std::size_t>(e)], names[pick]);
      PropertyList::Array sets;
      std::size_t count =
          static_cast<std::size_t>(options.fewestSets) +
          below(static_cast<std::uint64_t>(options.mostSets - options.fewestSets + 1));
      for (std::size_t set = 0; set < count; ++set) {
        std::string weight = std::to_string(20 + below(160));
        if (below(4) == 0) weight += ".5";
        sets.emplace_back(weight + " kg");
        sets.emplace_back(std::to_string(1 + below(15)));
        sets.emplace_back(below(5) == 0 ? kNotes[below(kNotes.size())] : "");
      }
      entries.emplace(exerciseName(names[static_cast<std::size_t>(e)]), std::move(sets));
    }
    log.asDictionary().emplace(dayKey(day), std::move(entries));
  }
  return log;
}

namespace {

constexpr std::array<const char*, 9> kAerobic = {" treadmill",    " cycling",   " elliptical",
                                                 " jogging",      " jump rope", " rowing",
                                                 " step machine", " swimming",  " tennis"};

}  // namespace

PropertyList SyntheticLog::aerobicFor(const PropertyList& strengthLog) {
  std::mt19937_64 random(2030);
  auto below = [&](std::uint64_t bound) { return static_cast<std::size_t>(random() % bound); };
  PropertyList log = PropertyList::Dictionary{};
  for (const auto& entry : strengthLog.asDictionary()) {
    PropertyList::Dictionary day;
    const std::size_t kinds = 1 + below(2);
    for (std::size_t k = 0; k < kinds; ++k) {
      PropertyList::Array bouts;
      const std::size_t count = 1 + below(3);
      for (std::size_t bout = 0; bout < count; ++bout) {
        bouts.emplace_back(std::to_string(10 + below(50)));
        bouts.emplace_back(std::to_string(1 + below(12)) + "." + std::to_string(below(10)));
        bouts.emplace_back(std::to_string(100 + below(600)));
        bouts.emplace_back(below(3) == 0 ? std::string() : std::to_string(below(15)));
        bouts.emplace_back(below(6) == 0 ? "hills" : "");
      }
      day.emplace(kAerobic[below(kAerobic.size())], std::move(bouts));
    }
    log.asDictionary().emplace(entry.first, std::move(day));
  }
  return log;
}

}  // namespace kinetra
