#include "catalogue/CaseInsensitiveOrder.h"

#include <algorithm>

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

namespace kinetra {

int CaseInsensitiveOrder::compare(std::string_view a, std::string_view b) {
  const icu::UnicodeString left =
      icu::UnicodeString::fromUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())));
  const icu::UnicodeString right =
      icu::UnicodeString::fromUTF8(icu::StringPiece(b.data(), static_cast<int32_t>(b.size())));
  return left.caseCompare(right, U_FOLD_CASE_DEFAULT | U_COMPARE_CODE_POINT_ORDER);
}

std::vector<std::string> CaseInsensitiveOrder::sortedNames(const ExerciseRecords& records) {
  std::vector<std::string> names;
  names.reserve(records.size());
  for (const ExerciseRecord& record : records) {
    names.emplace_back(record != nullptr ? recordString(*record, "name").value_or("")
                                         : std::string_view());
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return less(a, b); });
  return names;
}

std::optional<std::string> CaseInsensitiveOrder::nameOnRow(const ExerciseRecords& records,
                                                           int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= records.size()) return std::nullopt;
  return sortedNames(records)[static_cast<std::size_t>(row)];
}

}  // namespace kinetra
