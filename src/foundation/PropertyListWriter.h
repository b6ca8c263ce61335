#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/PropertyList.h"
#include "foundation/Status.h"

namespace kinetra {

// Serialises property-list values in the XML form, version 1.0, byte for byte as Foundation
// writes it: the XML declaration and DOCTYPE, `<plist version="1.0">`, the value indented with
// tabs, `</plist>` and a final newline. Dictionary keys come out in byte order, so a file's bytes
// depend only on the value, never on insertion history. Empty containers are `<array/>` and
// `<dict/>`.
//
// Text in strings and keys has &, < and > escaped. Text that XML 1.0 cannot carry is repaired
// rather than written into an unreadable file: each byte that is not part of valid UTF-8 and each
// character XML forbids (control characters other than tab, line feed and carriage return;
// U+FFFE, U+FFFF) becomes U+FFFD. A carriage return is written as `&#13;` because XML readers
// turn a literal one into a line feed. When repairing makes two keys of one dictionary equal,
// the later key in byte order wins.
//
// Leaf kinds a foreign file brought in are written in their XML form: <integer> in decimal,
// <real> in the shortest form that reads back to the same double ("nan", "+infinity",
// "-infinity" for the special values), <true/> and <false/>, <date> as ISO 8601 in UTC to the
// whole second (the XML form has no fractions), <data> as base64 in lines of 76 characters.
//
// Size: no file is written larger than PropertyList::kMaxFileBytes (or the limit a caller passes),
// so that whatever is written reads back.
class PropertyListWriter {
 public:
  // The complete file contents for `value`. Fails, writing nothing, with InvalidArgument for a
  // value the format cannot carry: containers nested deeper than PropertyList::kMaxDepth, or a
  // date outside the years 1 to 9999; with TooLarge when the contents would be over `maxBytes`
  // (found before that much is built).
  static Result<std::string> serialise(const PropertyList& value,
                                       std::size_t maxBytes = PropertyList::kMaxFileBytes);

  // The bytes serialise() writes for the entry `key` of a top-level dictionary: the key and its
  // value, indented as at the top. Fails like serialise(), also for a key that needs repair
  // (its place among the repaired keys depends on the others). A top-level dictionary's file is
  // dictionaryHead(), its entries in key order, dictionaryTail(); emptyDictionaryFile() when it
  // has none. The string holds no spare capacity: such entries are kept for as long as the
  // process runs, one for each day of a log.
  static Result<std::string> serialiseTopLevelEntry(
      std::string_view key, const PropertyList& value,
      std::size_t maxBytes = PropertyList::kMaxFileBytes);
  static std::string_view dictionaryHead();
  static std::string_view dictionaryTail();
  static std::string_view emptyDictionaryFile();

  // The size of what serialise() would return, or its error, without building the contents.
  static Result<std::size_t> serialisedSize(const PropertyList& value,
                                            std::size_t maxBytes = PropertyList::kMaxFileBytes);

  // An upper bound of serialise()'s size for any value read from an XML document of
  // `documentBytes` bytes holding `elements` values and keys with at most `deepest` containers
  // open at once (XmlPropertyListParser::CountedReading). A reader that finds the bound within
  // its limit need not size the value: what it read is sure to be writable within the limit.
  static std::size_t xmlSizeBound(std::size_t documentBytes, std::size_t elements, int deepest);

  // Appends `text` to `out` escaped and repaired as described above; false when anything had to
  // be repaired.
  static bool appendEscapedText(std::string& out, std::string_view text);

  // True when `text` needs no repair: valid UTF-8 of characters XML 1.0 allows.
  static bool carriesText(std::string_view text);

  // `text` as it reads back once written: repaired as described above, not escaped.
  static std::string repairedText(std::string_view text);
};

// Serialises `value` and replaces the file at `path` atomically with the result (AtomicFile).
// On failure, a value over `maxBytes` included, the old file is unchanged and the Status says why.
Status writePropertyList(const std::filesystem::path& path, const PropertyList& value,
                         std::size_t maxBytes = PropertyList::kMaxFileBytes);

}  // namespace kinetra
