#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "foundation/Date.h"

namespace kinetra {

// One property-list value: a string, an array, a dictionary, or one of the leaf kinds a foreign
// file may hold (integer, real, boolean, date, data). The system itself stores only strings,
// arrays and dictionaries; the other kinds are kept exactly as read so that rewriting a file
// alters nothing.
//
// A plain value: copying copies the whole tree, and arrays and dictionaries are modified in
// place through the references the accessors return (`log.asDictionary()[day]...`). Dictionary
// keys are kept in byte order, the order a file is written in. Not thread-safe.
class PropertyList {
 public:
  enum class Kind { kString, kArray, kDictionary, kInteger, kReal, kBoolean, kDate, kData };

  // Arrays and dictionaries nest at most this deep in a file we read or write; the top-level
  // container is at depth 1.
  static constexpr int kMaxDepth = 64;

  // The size limit of property lists, measured in the form PropertyListWriter writes: the writer
  // refuses a value whose XML form is larger, and the reader refuses a file of more bytes or one
  // whose value would be written larger, whatever its own form. So every file the writer writes
  // reads back, and every value the reader takes can be written again. 128 MiB leaves room for a
  // compact 64 MiB log, which grows by about a fifth once indented.
  static constexpr std::size_t kMaxFileBytes = std::size_t{128} << 20;

  using Array = std::vector<PropertyList>;
  // std::less<> allows lookups by std::string_view without building a key.
  using Dictionary = std::map<std::string, PropertyList, std::less<>>;
  using Data = std::vector<std::uint8_t>;

  // A property-list integer: any value from -2^63 to 2^64 - 1, the range the formats carry.
  class Integer {
   public:
    constexpr Integer() = default;
    constexpr Integer(std::int64_t value)  // NOLINT: implicit by design
        : magnitude_(value < 0 ? 0 - static_cast<std::uint64_t>(value)
                               : static_cast<std::uint64_t>(value)),
          negative_(value < 0) {}
    static constexpr Integer fromUnsigned(std::uint64_t value) { return Integer(value, false); }
    // -magnitude; magnitude 0 is never negative.
    static constexpr Integer negated(std::uint64_t magnitude) {
      return Integer(magnitude, magnitude != 0);
    }

    constexpr bool isNegative() const { return negative_; }
    constexpr std::uint64_t magnitude() const { return magnitude_; }
    constexpr bool fitsInt64() const {
      return negative_ ? magnitude_ <= (std::uint64_t{1} << 63)
                       : magnitude_ < (std::uint64_t{1} << 63);
    }
    // Precondition: fitsInt64().
    constexpr std::int64_t toInt64() const {
      return negative_ ? static_cast<std::int64_t>(0 - magnitude_)
                       : static_cast<std::int64_t>(magnitude_);
    }
    // Decimal text, "-" first when negative.
    std::string toString() const;

    friend constexpr bool operator==(const Integer&, const Integer&) = default;

   private:
    constexpr Integer(std::uint64_t magnitude, bool negative)
        : magnitude_(magnitude), negative_(negative) {}

    std::uint64_t magnitude_ = 0;
    bool negative_ = false;
  };

  // An empty string.
  PropertyList() = default;
  PropertyList(const PropertyList&) = default;
  // Defined out of line: GCC 12, inlining it into Result<PropertyList>, reports the variant's
  // storage as maybe-uninitialized.
  PropertyList(PropertyList&& other) noexcept;
  PropertyList& operator=(const PropertyList&) = default;
  PropertyList& operator=(PropertyList&&) noexcept = default;
  ~PropertyList() = default;
  PropertyList(std::string value) : value_(std::move(value)) {}  // NOLINT: implicit by design
  PropertyList(std::string_view value)                           // NOLINT: implicit by design
      : value_(std::in_place_type<std::string>, value) {}
  PropertyList(const char* value) : value_(std::string(value)) {}  // NOLINT
  PropertyList(Array value) : value_(std::move(value)) {}          // NOLINT
  PropertyList(Dictionary value)                                   // NOLINT: implicit by design
      : value_(std::in_place_type<DictionaryBox>, std::move(value)) {}
  PropertyList(Integer value) : value_(value) {}                // NOLINT
  PropertyList(std::int64_t value) : value_(Integer(value)) {}  // NOLINT
  PropertyList(int value) : value_(Integer(value)) {}           // NOLINT
  PropertyList(double value) : value_(value) {}                 // NOLINT
  PropertyList(bool value) : value_(value) {}                   // NOLINT
  PropertyList(Date value) : value_(value) {}                   // NOLINT
  PropertyList(Data value) : value_(std::move(value)) {}        // NOLINT

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool isString() const { return kind() == Kind::kString; }
  bool isArray() const { return kind() == Kind::kArray; }
  bool isDictionary() const { return kind() == Kind::kDictionary; }
  bool isInteger() const { return kind() == Kind::kInteger; }
  bool isReal() const { return kind() == Kind::kReal; }
  bool isBoolean() const { return kind() == Kind::kBoolean; }
  bool isDate() const { return kind() == Kind::kDate; }
  bool isData() const { return kind() == Kind::kData; }

  // Precondition of every asX(): the value is of that kind (checked; a wrong kind is a
  // programming error and terminates through std::bad_variant_access).
  const std::string& asString() const { return std::get<std::string>(value_); }
  std::string& asString() { return std::get<std::string>(value_); }
  const Array& asArray() const { return std::get<Array>(value_); }
  Array& asArray() { return std::get<Array>(value_); }
  const Dictionary& asDictionary() const { return std::get<DictionaryBox>(value_).get(); }
  Dictionary& asDictionary() { return std::get<DictionaryBox>(value_).get(); }
  Integer asInteger() const { return std::get<Integer>(value_); }
  double asReal() const { return std::get<double>(value_); }
  bool asBoolean() const { return std::get<bool>(value_); }
  Date asDate() const { return std::get<Date>(value_); }
  const Data& asData() const { return std::get<Data>(value_); }
  Data& asData() { return std::get<Data>(value_); }

  // The value under `key` when this is a dictionary holding it; null otherwise (also when this
  // is not a dictionary). The pointer lives as long as the entry.
  const PropertyList* find(std::string_view key) const;
  PropertyList* find(std::string_view key);

  // Deep equality: same kind and same contents all the way down (a real NaN equals nothing).
  friend bool operator==(const PropertyList&, const PropertyList&) = default;

  // "string", "array", "dictionary", ... for messages.
  static const char* kindName(Kind kind);

 private:
  // A dictionary held through a pointer: a std::map is half as large again as a string, and
  // every value (most of a log's are short strings) would pay for it in place. A plain value
  // like the others: copying copies the dictionary; a moved-from box reads as empty.
  class DictionaryBox {
   public:
    explicit DictionaryBox(Dictionary value);
    DictionaryBox(const DictionaryBox& other);
    DictionaryBox(DictionaryBox&& other) noexcept;
    DictionaryBox& operator=(const DictionaryBox& other);
    DictionaryBox& operator=(DictionaryBox&& other) noexcept;
    ~DictionaryBox();

    const Dictionary& get() const;
    Dictionary& get();

    friend bool operator==(const DictionaryBox& a, const DictionaryBox& b) {
      return a.get() == b.get();
    }

   private:
    std::unique_ptr<Dictionary> dictionary_;
  };

  // The order matches Kind.
  std::variant<std::string, Array, DictionaryBox, Integer, double, bool, Date, Data> value_;
};

}  // namespace kinetra
