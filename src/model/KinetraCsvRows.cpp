#include "model/KinetraCsvRows.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "model/AerobicKind.h"
#include "model/LogCsv.h"

namespace kinetra {

namespace {

constexpr std::string_view kCardio = "Cardio";
constexpr std::string_view kExercise = "Exercise";

enum class Section { kNone, kCardioHeader, kCardioRows, kStrengthHeader, kStrengthRows };

std::vector<std::string> headerFields(std::string_view header) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = header.find(',', start);
    fields.emplace_back(header.substr(start, comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool isMarker(const CsvReader::Record& record, std::string_view marker) {
  return record.fields.size() == 1 && record.fields[0] == marker;
}

Status problem(const CsvReader::Record& record, const std::string& what) {
  return Status::Corrupt("line " + std::to_string(record.line) + " " + what + ".");
}

bool isSetNumber(std::string_view text) {
  return !text.empty() && text.size() <= 9 && text.front() != '0' &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool KinetraCsvRows::matches(const CsvReader::Table& table) {
  for (const CsvReader::Record& record : table.records) {
    if (record.fields.empty()) continue;
    return isMarker(record, kCardio) || isMarker(record, kExercise);
  }
  return false;
}

Result<std::vector<ImportedSet>> KinetraCsvRows::read(const CsvReader::Table& table,
                                                      const DateFormatter& days) {
  const std::vector<std::string> cardioHeader = headerFields(LogCsv::kCardioHeader);
  const std::vector<std::string> strengthHeader = headerFields(LogCsv::kStrengthHeader);
  std::vector<ImportedSet> sets;
  Section section = Section::kNone;
  for (const CsvReader::Record& record : table.records) {
    if (record.fields.empty()) continue;
    if (isMarker(record, kCardio)) {
      section = Section::kCardioHeader;
      continue;
    }
    if (isMarker(record, kExercise)) {
      section = Section::kStrengthHeader;
      continue;
    }
    if (section == Section::kCardioHeader || section == Section::kStrengthHeader) {
      const bool cardio = section == Section::kCardioHeader;
      if (record.fields != (cardio ? cardioHeader : strengthHeader)) {
        return problem(record, "is not the export's " +
                                   std::string(cardio ? "cardio" : "strength") + " header");
      }
      section = cardio ? Section::kCardioRows : Section::kStrengthRows;
      continue;
    }
    if (section == Section::kNone)
      return problem(record, "is outside the Cardio and Exercise parts");
    const bool aerobic = section == Section::kCardioRows;
    const std::size_t expected = aerobic ? cardioHeader.size() : strengthHeader.size();
    if (record.fields.size() != expected) {
      return problem(record, "has " + std::to_string(record.fields.size()) + " fields, not " +
                                 std::to_string(expected));
    }
    const std::vector<std::string>& fields = record.fields;
    const std::optional<Date> day = days.dateFromString(fields[0]);
    if (!day) return problem(record, "has no date the log can read");
    if (fields[1].empty()) return problem(record, "has no exercise name");
    if ((AerobicKind::named(fields[1]) != nullptr) != aerobic) {
      return problem(record, aerobic ? "names a strength exercise among the cardio rows"
                                     : "names a cardio exercise among the strength rows");
    }
    if (!isSetNumber(fields[2])) return problem(record, "has no set number");
    ImportedSet set{days.stringFromDate(*day), fields[1], aerobic,
                    std::vector<std::string>(fields.begin() + 3, fields.end())};
    const bool empty = std::all_of(set.values.begin(), set.values.end(),
                                   [](const std::string& value) { return value.empty(); });
    if (aerobic && empty) continue;
    sets.push_back(std::move(set));
  }
  return sets;
}

}  // namespace kinetra
