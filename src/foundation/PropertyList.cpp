#include "foundation/PropertyList.h"

#include <charconv>

namespace kinetra {

std::string PropertyList::Integer::toString() const {
  char digits[24];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, magnitude_);
  (void)error;  // 24 characters hold any 64-bit magnitude
  std::string text;
  if (negative_) text += '-';
  text.append(digits, end);
  return text;
}

PropertyList::PropertyList(PropertyList&& other) noexcept = default;

const PropertyList* PropertyList::find(std::string_view key) const {
  const auto* dictionary = std::get_if<Dictionary>(&value_);
  if (dictionary == nullptr) return nullptr;
  auto entry = dictionary->find(key);
  return entry == dictionary->end() ? nullptr : &entry->second;
}

PropertyList* PropertyList::find(std::string_view key) {
  return const_cast<PropertyList*>(std::as_const(*this).find(key));
}

const char* PropertyList::kindName(Kind kind) {
  switch (kind) {
    case Kind::kString:
      return "string";
    case Kind::kArray:
      return "array";
    case Kind::kDictionary:
      return "dictionary";
    case Kind::kInteger:
      return "integer";
    case Kind::kReal:
      return "real";
    case Kind::kBoolean:
      return "boolean";
    case Kind::kDate:
      return "date";
    case Kind::kData:
      return "data";
  }
  return "unknown";
}

}  // namespace kinetra
