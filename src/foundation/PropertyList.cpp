#include "foundation/PropertyList.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
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

namespace {

// A copy of the object `original` points to, or null for null.
template <typename T>
std::unique_ptr<T> copied(const T* original) {
  return original != nullptr ? std::make_unique<T>(*original) : nullptr;
}

}  // namespace

template <typename T>
void PropertyList::adopt(Tag tag, std::unique_ptr<T> object) {
  store(object.release());
  setTag(tag);
}

template <typename T>
T& PropertyList::ownedOrNew() {
  T* object = owned<T>();
  if (object == nullptr) {
    auto made = std::make_unique<T>();
    object = made.get();
    store(made.release());
  }
  return *object;
}

PropertyList::PropertyList(std::string_view value) {
  if (value.size() <= kMaxShortString) {
    // An empty view may hold no address at all, which memcpy must not be given.
    if (!value.empty()) std::memcpy(bytes_, value.data(), value.size());
    setTag(static_cast<Tag>(value.size()));
  } else {
    adopt(Tag::kLongString, std::make_unique<std::string>(value));
  }
}

PropertyList::PropertyList(std::string value) {
  if (value.size() <= kMaxShortString) {
    std::memcpy(bytes_, value.data(), value.size());
    setTag(static_cast<Tag>(value.size()));
  } else {
    adopt(Tag::kLongString, std::make_unique<std::string>(std::move(value)));
  }
}

// An empty container owns nothing: its pointer stays null until it is filled.
PropertyList::PropertyList(Array value) {
  adopt(Tag::kArray, value.empty() ? nullptr : std::make_unique<Array>(std::move(value)));
}

PropertyList::PropertyList(Dictionary value) {
  adopt(Tag::kDictionary, value.empty() ? nullptr : std::make_unique<Dictionary>(std::move(value)));
}

PropertyList::PropertyList(Integer value) {
  store(value.magnitude());
  bytes_[sizeof(std::uint64_t)] = value.isNegative() ? 1 : 0;
  setTag(Tag::kInteger);
}

PropertyList::PropertyList(double value) {
  store(value);
  setTag(Tag::kReal);
}

PropertyList::PropertyList(bool value) {
  store(value);
  setTag(Tag::kBoolean);
}

PropertyList::PropertyList(Date value) {
  store(value.timeIntervalSince1970());
  setTag(Tag::kDate);
}

PropertyList::PropertyList(Data value) {
  adopt(Tag::kData, value.empty() ? nullptr : std::make_unique<Data>(std::move(value)));
}

PropertyList::PropertyList(const PropertyList& other) {
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  switch (other.tag()) {
    case Tag::kLongString:
      adopt(Tag::kLongString, copied(other.owned<std::string>()));
      break;
    case Tag::kArray:
      adopt(Tag::kArray, copied(other.owned<Array>()));
      break;
    case Tag::kDictionary:
      adopt(Tag::kDictionary, copied(other.owned<Dictionary>()));
      break;
    case Tag::kData:
      adopt(Tag::kData, copied(other.owned<Data>()));
      break;
    default:  // held in place
      break;
  }
}

PropertyList::PropertyList(PropertyList&& other) noexcept {
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  switch (other.kind()) {
    case Kind::kString:
      other.setTag(Tag{0});  // an empty string in place
      break;
    case Kind::kArray:
    case Kind::kDictionary:
    case Kind::kData:
      other.store<void*>(nullptr);  // empty, of the same kind
      break;
    default:  // a number, truth value or date, left as it was
      break;
  }
}

PropertyList& PropertyList::operator=(const PropertyList& other) {
  // The copy is made first: `other` may live inside this value.
  if (this != &other) *this = PropertyList(other);
  return *this;
}

PropertyList& PropertyList::operator=(PropertyList&& other) noexcept {
  if (this == &other) return *this;
  // Taken out first: `other` may live inside this value, which release() ends.
  PropertyList taken(std::move(other));
  release();
  std::memcpy(bytes_, taken.bytes_, sizeof bytes_);
  taken.setTag(Tag{0});
  return *this;
}

void PropertyList::release() noexcept {
  switch (tag()) {
    case Tag::kLongString:
      std::unique_ptr<std::string>(owned<std::string>()).reset();
      break;
    case Tag::kArray:
      std::unique_ptr<Array>(owned<Array>()).reset();
      break;
    case Tag::kDictionary:
      std::unique_ptr<Dictionary>(owned<Dictionary>()).reset();
      break;
    case Tag::kData:
      std::unique_ptr<Data>(owned<Data>()).reset();
      break;
    default:  // nothing owned
      break;
  }
}

PropertyList::Array& PropertyList::asArray() {
  expect(Kind::kArray);
  return ownedOrNew<Array>();
}

PropertyList::Dictionary& PropertyList::asDictionary() {
  expect(Kind::kDictionary);
  return ownedOrNew<Dictionary>();
}

PropertyList::Integer PropertyList::asInteger() const {
  expect(Kind::kInteger);
  const auto magnitude = load<std::uint64_t>();
  return bytes_[sizeof(std::uint64_t)] != 0 ? Integer::negated(magnitude)
                                            : Integer::fromUnsigned(magnitude);
}

double PropertyList::asReal() const {
  expect(Kind::kReal);
  return load<double>();
}

bool PropertyList::asBoolean() const {
  expect(Kind::kBoolean);
  return load<bool>();
}

Date PropertyList::asDate() const {
  expect(Kind::kDate);
  return Date(load<double>());
}

const PropertyList::Data& PropertyList::asData() const {
  expect(Kind::kData);
  static const Data kEmpty;
  const Data* data = owned<Data>();
  return data != nullptr ? *data : kEmpty;
}

PropertyList::Data& PropertyList::asData() {
  expect(Kind::kData);
  return ownedOrNew<Data>();
}

const PropertyList::Array& PropertyList::emptyArray() {
  static const Array kEmpty;
  return kEmpty;
}

const PropertyList::Dictionary& PropertyList::emptyDictionary() {
  static const Dictionary kEmpty;
  return kEmpty;
}

void PropertyList::wrongKind(Kind expected) const {
  std::fprintf(stderr, "PropertyList: a %s read as a %s\n", kindName(kind()), kindName(expected));
  std::abort();
}

const PropertyList* PropertyList::find(std::string_view key) const {
  if (tag() != Tag::kDictionary) return nullptr;
  const Dictionary* dictionary = owned<Dictionary>();
  if (dictionary == nullptr) return nullptr;
  auto entry = dictionary->find(key);
  return entry == dictionary->end() ? nullptr : &entry->second;
}

PropertyList* PropertyList::find(std::string_view key) {
  return const_cast<PropertyList*>(std::as_const(*this).find(key));
}

bool operator==(const PropertyList& a, const PropertyList& b) {
  using Kind = PropertyList::Kind;
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case Kind::kString:
      return a.asString() == b.asString();
    case Kind::kArray:
      return a.asArray() == b.asArray();
    case Kind::kDictionary:
      return a.asDictionary() == b.asDictionary();
    case Kind::kInteger:
      return a.asInteger() == b.asInteger();
    case Kind::kReal:
      return a.asReal() == b.asReal();
    case Kind::kBoolean:
      return a.asBoolean() == b.asBoolean();
    case Kind::kDate:
      return a.asDate() == b.asDate();
    case Kind::kData:
      return a.asData() == b.asData();
  }
  return false;
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
