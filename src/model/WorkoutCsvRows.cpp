#include "model/WorkoutCsvRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "model/AerobicKind.h"
#include "model/CustomExerciseName.h"
#include "model/WeightText.h"

namespace kinetra {

namespace {

// Other names for the nine aerobic exercises, lower case.
constexpr std::array<std::pair<std::string_view, std::string_view>, 24> kAerobicNames{{
    {"treadmill", " treadmill"},
    {"running (treadmill)", " treadmill"},
    {"walking (treadmill)", " treadmill"},
    {"cycling", " cycling"},
    {"cycling (indoor)", " cycling"},
    {"bike", " cycling"},
    {"biking", " cycling"},
    {"spinning", " cycling"},
    {"elliptical", " elliptical"},
    {"elliptical trainer", " elliptical"},
    {"jump rope", " jump rope"},
    {"skipping rope", " jump rope"},
    {"jogging", " jogging"},
    {"running", " jogging"},
    {"running (outdoor)", " jogging"},
    {"rowing", " rowing"},
    {"rowing (machine)", " rowing"},
    {"rowing machine", " rowing"},
    {"step machine", " step machine"},
    {"stair stepper", " step machine"},
    {"stair climber", " step machine"},
    {"swimming", " swimming"},
    {"swim", " swimming"},
    {"tennis", " tennis"},
}};

struct Columns {
  std::size_t date, exercise, setOrder, weight, reps;
  std::optional<std::size_t> weightUnit, rpe, distance, distanceUnit, seconds, notes;
};

// A number as written: its whole and decimal digits.
struct Number {
  std::string whole;
  std::string decimal;  // trailing zeros dropped
  bool isZero() const {
    return std::all_of(whole.begin(), whole.end(), [](char c) { return c == '0'; }) &&
           decimal.empty();
  }
  std::string text() const { return decimal.empty() ? whole : whole + "." + decimal; }
};

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

std::string lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Nothing for an empty text; an error for one that is no plain decimal number.
Result<std::optional<Number>> readNumber(std::string_view raw, bool decimalComma) {
  std::string text = trimmed(raw);
  if (text.empty()) return std::optional<Number>();
  if (decimalComma) std::replace(text.begin(), text.end(), ',', '.');
  const std::size_t point = text.find('.');
  Number number{text.substr(0, point),
                point == std::string::npos ? std::string() : text.substr(point + 1)};
  if (!allDigits(number.whole) || !allDigits(number.decimal) ||
      (number.whole.empty() && number.decimal.empty()) || number.whole.size() > 9) {
    return Status::Corrupt(text);
  }
  if (number.whole.empty()) number.whole = "0";
  number.whole.erase(0, std::min(number.whole.find_first_not_of('0'), number.whole.size() - 1));
  while (!number.decimal.empty() && number.decimal.back() == '0') number.decimal.pop_back();
  return std::optional<Number>(std::move(number));
}

std::optional<Columns> columnsOf(const std::vector<std::string>& header) {
  const auto find = [&](std::string_view name) -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (lowered(trimmed(header[i])) == name) return i;
    }
    return std::nullopt;
  };
  const auto date = find("date");
  const auto exercise = find("exercise name");
  const auto setOrder = find("set order");
  const auto weight = find("weight");
  const auto reps = find("reps");
  if (!date || !exercise || !setOrder || !weight || !reps) return std::nullopt;
  return Columns{*date,
                 *exercise,
                 *setOrder,
                 *weight,
                 *reps,
                 find("weight unit"),
                 find("rpe"),
                 find("distance"),
                 find("distance unit"),
                 find("seconds"),
                 find("notes")};
}

const CsvReader::Record* headerRecord(const CsvReader::Table& table) {
  for (const CsvReader::Record& record : table.records) {
    if (!record.fields.empty()) return &record;
  }
  return nullptr;
}

// Reads one row; `line` names it in the messages.
class RowReader {
 public:
  RowReader(const Columns& columns, const WorkoutCsvRows::Inputs& inputs, bool decimalComma,
            const CsvReader::Record& record)
      : columns_(columns), inputs_(inputs), decimalComma_(decimalComma), record_(record) {}

  // Nothing for a row with nothing to log.
  Result<std::optional<ImportedSet>> read() {
    ImportedSet set;
    Result<std::string> day = dayOf(field(columns_.date));
    if (!day.ok()) return day.status();
    set.day = std::move(*day);
    Result<std::string> name = exerciseName(field(columns_.exercise));
    if (!name.ok()) return name.status();
    set.exercise = std::move(*name);
    set.aerobic = AerobicKind::named(set.exercise) != nullptr;
    Status made = set.aerobic ? aerobicValues(set) : strengthValues(set);
    if (!made.ok()) return made;
    if (set.values.empty()) return std::optional<ImportedSet>();
    return std::optional<ImportedSet>(std::move(set));
  }

 private:
  std::string_view field(std::optional<std::size_t> column) const {
    return column ? std::string_view(record_.fields[*column]) : std::string_view();
  }

  Status problem(const std::string& what) const {
    return Status::Corrupt("line " + std::to_string(record_.line) + " " + what + ".");
  }

  Result<std::optional<Number>> number(std::optional<std::size_t> column,
                                       std::string_view what) const {
    Result<std::optional<Number>> value = readNumber(field(column), decimalComma_);
    if (!value.ok()) return problem("has a " + std::string(what) + " that is not a number");
    return value;
  }

  Result<std::string> dayOf(std::string_view text) const {
    const std::string date = trimmed(text).substr(0, 10);
    const std::optional<Date> day = inputs_.isoDays.dateFromString(date);
    if (!day) return problem("has no date like 2019-01-11 12:31:54");
    return inputs_.days.stringFromDate(*day);
  }

  Result<std::string> exerciseName(std::string_view text) const {
    std::string name = trimmed(text);
    std::replace(name.begin(), name.end(), '/', '-');
    name.erase(0, std::min(name.find_first_not_of('.'), name.size()));
    name = trimmed(name);
    if (name.empty()) return problem("has no exercise name");
    if (!CustomExerciseName::problem(name).empty()) return problem("has too long a name");
    const std::string lower = lowered(name);
    for (const auto& [other, aerobic] : kAerobicNames) {
      if (lower == other) return std::string(aerobic);
    }
    if (std::optional<std::string> known = inputs_.knownName(name)) return std::move(*known);
    return name;
  }

  // "5 km", or nothing.
  Result<std::optional<std::string>> distanceText() const {
    Result<std::optional<Number>> distance = number(columns_.distance, "distance");
    if (!distance.ok()) return distance.status();
    if (!distance->has_value() || (*distance)->isZero()) return std::optional<std::string>();
    std::string text = (*distance)->text();
    const std::string unit = trimmed(field(columns_.distanceUnit));
    if (!unit.empty()) text += " " + unit;
    return std::optional<std::string>(std::move(text));
  }

  // Minutes, to a tenth: "30", "1.5"; nothing for no time.
  Result<std::optional<std::string>> minutesText() const {
    Result<std::optional<Number>> seconds = number(columns_.seconds, "time");
    if (!seconds.ok()) return seconds.status();
    if (!seconds->has_value() || (*seconds)->isZero()) return std::optional<std::string>();
    // Tenths of a second, then tenths of a minute, rounded.
    const Number& value = **seconds;
    const std::int64_t secondTenths =
        std::stoll(value.whole) * 10 + (value.decimal.empty() ? 0 : value.decimal[0] - '0');
    const std::int64_t tenths = (secondTenths + 30) / 60;
    if (tenths == 0) return std::optional<std::string>();
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
    return std::optional<std::string>(std::move(text));
  }

  static void addToNote(std::string& note, std::string_view part) {
    if (part.empty()) return;
    if (!note.empty()) note += "; ";
    note += part;
  }

  std::string setMark() const {
    const std::string order = lowered(trimmed(field(columns_.setOrder)));
    if (order.empty() || allDigits(order)) return {};
    if (order == "w") return "warm-up";
    if (order == "d") return "drop set";
    if (order == "f") return "failure";
    return trimmed(field(columns_.setOrder));
  }

  Status aerobicValues(ImportedSet& set) const {
    Result<std::optional<std::string>> minutes = minutesText();
    if (!minutes.ok()) return minutes.status();
    Result<std::optional<std::string>> distance = distanceText();
    if (!distance.ok()) return distance.status();
    const AerobicKind* kind = AerobicKind::named(set.exercise);
    const bool distanceValue = kind->valueLabels[1] == "(Distance)";
    std::string note = trimmed(field(columns_.notes));
    if (!distanceValue && distance->has_value()) addToNote(note, **distance);
    std::vector<std::string> values{minutes->value_or(""),
                                    distanceValue ? distance->value_or("") : "", "", "", note};
    if (std::all_of(values.begin(), values.end(), [](const std::string& v) { return v.empty(); })) {
      return Status::Ok();
    }
    set.values = std::move(values);
    return Status::Ok();
  }

  Result<std::string> unit() const {
    const std::string unit = lowered(trimmed(field(columns_.weightUnit)));
    if (unit.empty() || unit == "kg" || unit == "kgs") return std::string("kg");
    if (unit == "lb" || unit == "lbs") return std::string("lbs");
    return problem("has a weight unit other than kg or lbs");
  }

  Status strengthValues(ImportedSet& set) const {
    Result<std::optional<Number>> weight = number(columns_.weight, "weight");
    if (!weight.ok()) return weight.status();
    Result<std::optional<Number>> reps = number(columns_.reps, "repetition count");
    if (!reps.ok()) return reps.status();
    if (reps->has_value() && !(*reps)->decimal.empty()) {
      return problem("has a repetition count that is not a whole number");
    }
    Result<std::string> weightUnit = unit();
    if (!weightUnit.ok()) return weightUnit.status();
    Result<std::optional<std::string>> distance = distanceText();
    if (!distance.ok()) return distance.status();
    Result<std::optional<std::string>> minutes = minutesText();
    if (!minutes.ok()) return minutes.status();

    std::string note = trimmed(field(columns_.notes));
    const std::string rpe = trimmed(field(columns_.rpe));
    if (!rpe.empty() && rpe != "0") addToNote(note, "RPE " + rpe);
    addToNote(note, setMark());
    if (distance->has_value()) addToNote(note, **distance);
    if (minutes->has_value()) addToNote(note, **minutes + " min");

    const bool noWeight = !weight->has_value() || (*weight)->isZero();
    const bool noReps = !reps->has_value() || (*reps)->isZero();
    if (noWeight && noReps && !distance->has_value() && !minutes->has_value() &&
        trimmed(field(columns_.notes)).empty()) {
      return Status::Ok();
    }
    const Number shown = weight->value_or(Number{"0", ""});
    set.values = {WeightText::compose(shown.whole, shown.decimal, *weightUnit),
                  reps->has_value() ? (*reps)->whole : std::string("0"), note};
    return Status::Ok();
  }

  const Columns& columns_;
  const WorkoutCsvRows::Inputs& inputs_;
  bool decimalComma_;
  const CsvReader::Record& record_;
};

}  // namespace

bool WorkoutCsvRows::matches(const CsvReader::Table& table) {
  const CsvReader::Record* header = headerRecord(table);
  return header != nullptr && columnsOf(header->fields).has_value();
}

Result<std::vector<ImportedSet>> WorkoutCsvRows::read(const CsvReader::Table& table,
                                                      const Inputs& inputs) {
  const CsvReader::Record* header = headerRecord(table);
  const std::optional<Columns> columns = header ? columnsOf(header->fields) : std::nullopt;
  if (!columns) return Status::Corrupt("the columns are not a workout log's.");
  const bool decimalComma = table.separator == ';';
  std::vector<ImportedSet> sets;
  for (const CsvReader::Record& record : table.records) {
    if (&record <= header || record.fields.empty()) continue;
    if (record.fields.size() != header->fields.size()) {
      return Status::Corrupt("line " + std::to_string(record.line) + " has " +
                             std::to_string(record.fields.size()) + " fields, not " +
                             std::to_string(header->fields.size()) + ".");
    }
    Result<std::optional<ImportedSet>> set =
        RowReader(*columns, inputs, decimalComma, record).read();
    if (!set.ok()) return set.status();
    if (set->has_value()) sets.push_back(std::move(**set));
  }
  return sets;
}

}  // namespace kinetra
