#include "foundation/PropertyList.h"

#include <charconv>
#include <memory>
#include <utility>

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

PropertyList::DictionaryBox::DictionaryBox(Dictionary value)
    : dictionary_(std::make_unique<Dictionary>(std::move(value))) {}

PropertyList::DictionaryBox::DictionaryBox(const DictionaryBox& other)
    : dictionary_(std::make_unique<Dictionary>(other.get())) {}

PropertyList::DictionaryBox::DictionaryBox(DictionaryBox&& other) noexcept = default;

PropertyList::DictionaryBox& PropertyList::DictionaryBox::operator=(const DictionaryBox& other) {
  if (this != &other) get() = other.get();
  return *this;
}

PropertyList::DictionaryBox& PropertyList::DictionaryBox::operator=(
    DictionaryBox&& other) noexcept = default;

PropertyList::DictionaryBox::~DictionaryBox() = default;

const PropertyList::Dictionary& PropertyList::DictionaryBox::get() const {
  static const Dictionary kEmpty;
  return dictionary_ != nullptr ? *dictionary_ : kEmpty;
}

PropertyList::Dictionary& PropertyList::DictionaryBox::get() {
  if (dictionary_ == nullptr) dictionary_ = std::make_unique<Dictionary>();
  return *dictionary_;
}

const PropertyList* PropertyList::find(std::string_view key) const {
  const auto* box = std::get_if<DictionaryBox>(&value_);
  if (box == nullptr) return nullptr;
  const Dictionary& dictionary = box->get();
  auto entry = dictionary.find(key);
  return entry == dictionary.end() ? nullptr : &entry->second;
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
