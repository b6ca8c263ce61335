#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "foundation/Date.h"
#include "foundation/SortedDictionary.h"

namespace kinetra {

// One property-list value: a string, an array, a dictionary, or one of the leaf kinds a foreign
// file may hold (integer, real, boolean, date, data). The system itself stores only strings,
// arrays and dictionaries; the other kinds are kept exactly as read so that rewriting a file
// alters nothing.
//
// A plain value: copying copies the whole tree, and arrays and dictionaries are modified in
// place through the references the accessors return (`log.asDictionary()[day]...`). Dictionary
// keys are kept in byte order, the order a file is written in. Moving a string or a container
// out leaves it empty, of the same kind. Not thread-safe.
//
// Sixteen bytes, since a log is mostly short strings (a weight, a count, an empty note) and ten
// years of one hold hundreds of thousands of them: a string of up to 15 bytes is kept in place,
// a longer one, an array, a dictionary or data through one owned pointer (null while a container
// is empty), numbers and dates in place.
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
  // Looked up by std::string_view without building a key.
  using Dictionary = SortedDictionary<PropertyList>;
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
  PropertyList() noexcept { setTag(Tag{0}); }
  PropertyList(const PropertyList& other);
  PropertyList(PropertyList&& other) noexcept;
  PropertyList& operator=(const PropertyList& other);
  PropertyList& operator=(PropertyList&& other) noexcept;
  ~PropertyList() { release(); }

  PropertyList(std::string_view value);  // NOLINT: implicit by design
  PropertyList(std::string value);       // NOLINT: implicit by design
  PropertyList(const char* value)        // NOLINT: implicit by design
      : PropertyList(std::string_view(value)) {}
  PropertyList(Array value);        // NOLINT: implicit by design
  PropertyList(Dictionary value);   // NOLINT: implicit by design
  PropertyList(Integer value);      // NOLINT: implicit by design
  PropertyList(std::int64_t value)  // NOLINT: implicit by design
      : PropertyList(Integer(value)) {}
  PropertyList(int value) : PropertyList(Integer(value)) {}  // NOLINT: implicit by design
  PropertyList(double value);                                // NOLINT: implicit by design
  PropertyList(bool value);                                  // NOLINT: implicit by design
  PropertyList(Date value);                                  // NOLINT: implicit by design
  PropertyList(Data value);                                  // NOLINT: implicit by design

  Kind kind() const {
    const auto tag = static_cast<std::uint8_t>(this->tag());
    return tag <= kMaxShortString
               ? Kind::kString
               : static_cast<Kind>(tag - static_cast<std::uint8_t>(Tag::kLongString));
  }
  bool isString() const { return kind() == Kind::kString; }
  bool isArray() const { return kind() == Kind::kArray; }
  bool isDictionary() const { return kind() == Kind::kDictionary; }
  bool isInteger() const { return kind() == Kind::kInteger; }
  bool isReal() const { return kind() == Kind::kReal; }
  bool isBoolean() const { return kind() == Kind::kBoolean; }
  bool isDate() const { return kind() == Kind::kDate; }
  bool isData() const { return kind() == Kind::kData; }

  // Precondition of every asX(): the value is of that kind (checked; a wrong kind is a
  // programming error and terminates). A string's view, and the references to containers, live
  // as long as the value is neither changed nor moved.
  std::string_view asString() const {
    const auto tag = static_cast<std::uint8_t>(this->tag());
    if (tag <= kMaxShortString) return {reinterpret_cast<const char*>(bytes_), tag};
    expect(Kind::kString);
    return *owned<std::string>();
  }
  const Array& asArray() const {
    expect(Kind::kArray);
    const Array* array = owned<Array>();
    return array != nullptr ? *array : emptyArray();
  }
  Array& asArray();
  const Dictionary& asDictionary() const {
    expect(Kind::kDictionary);
    const Dictionary* dictionary = owned<Dictionary>();
    return dictionary != nullptr ? *dictionary : emptyDictionary();
  }
  Dictionary& asDictionary();
  Integer asInteger() const;
  double asReal() const;
  bool asBoolean() const;
  Date asDate() const;
  const Data& asData() const;
  Data& asData();

  // The value under `key` when this is a dictionary holding it; null otherwise (also when this
  // is not a dictionary). The pointer lives as long as the entry.
  const PropertyList* find(std::string_view key) const;
  PropertyList* find(std::string_view key);

  // Deep equality: same kind and same contents all the way down (a real NaN equals nothing).
  friend bool operator==(const PropertyList& a, const PropertyList& b);

  // "string", "array", "dictionary", ... for messages.
  static const char* kindName(Kind kind);

 private:
  // The last byte of the value says what the others hold. 0 to 15: a string of that many bytes,
  // in place. The others follow Kind from kString on.
  enum class Tag : std::uint8_t {
    kLongString = 16,  // an owned std::string, never null
    kArray,            // an owned Array, null while empty
    kDictionary,       // an owned Dictionary, null while empty
    kInteger,          // the magnitude, then the sign
    kReal,             // a double
    kBoolean,          // one byte
    kDate,             // the seconds, a double
    kData,             // an owned Data, null while empty
  };
  static constexpr std::uint8_t kMaxShortString = 15;
  static constexpr std::size_t kTagByte = 15;

  Tag tag() const { return static_cast<Tag>(bytes_[kTagByte]); }
  void setTag(Tag tag) { bytes_[kTagByte] = static_cast<std::uint8_t>(tag); }
  // The payload's first bytes read or written as a T (a pointer, a number, a date).
  template <typename T>
  T load() const {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= kTagByte);
    T value;
    std::memcpy(&value, bytes_, sizeof value);
    return value;
  }
  template <typename T>
  void store(T value) {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= kTagByte);
    std::memcpy(bytes_, &value, sizeof value);
  }
  // The owned object of a pointer tag; null when none is held.
  template <typename T>
  T* owned() const {
    return load<T*>();
  }
  template <typename T>
  void adopt(Tag tag, std::unique_ptr<T> object);
  // The owned object, made when none is held (an empty container).
  template <typename T>
  T& ownedOrNew();
  // Ends the value's owned object, if any; the bytes are left for the caller to rewrite.
  void release() noexcept;
  // Kind check of the asX() accessors.
  void expect(Kind expected) const {
    if (kind() != expected) wrongKind(expected);
  }
  [[noreturn]] void wrongKind(Kind expected) const;
  static const Array& emptyArray();
  static const Dictionary& emptyDictionary();

  alignas(8) std::uint8_t bytes_[16] = {};
};

static_assert(sizeof(PropertyList) == 16);

}  // namespace kinetra
