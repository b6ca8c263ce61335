#include "catalogue/CaseInsensitiveOrder.h"

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

}  // namespace kinetra
