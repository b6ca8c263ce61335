#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "foundation/PropertyList.h"
#include "foundation/PropertyListReader.h"
#include "foundation/Status.h"

namespace kinetra {

// A strict reader of the XML property-list form, in one linear pass with an explicit stack (no
// recursion, so hostile nesting cannot exhaust the call stack).
//
// Accepts what Foundation and Python's plistlib write and what a well-formed document of the
// format may hold: an optional byte-order mark, XML declaration, DOCTYPE (without an internal
// subset), comments and processing instructions anywhere markup may stand, an optional <plist>
// root element with attributes, one value inside it; in text, the five predefined entities,
// character references and CDATA sections; line ends normalised to line feed as XML requires.
// Leaf kinds are read exactly: <integer> decimal or 0x-hexadecimal from -2^63 to 2^64 - 1;
// <real> including nan and infinities; <date> in plistlib's ISO 8601 forms ending in Z; <data>
// base64 with white space.
//
// Everything else is Corrupt: bytes that are not UTF-8, characters XML forbids, unknown
// elements or entities, mismatched tags, a dictionary key without a value or a value without a
// key, a number or date that does not parse or does not fit, more than one value. Containers
// nested deeper than PropertyList::kMaxDepth give TooLarge.
//
// Two things are read but not exactly, and the reading says so (PropertyListReading::inexact):
// a repeated dictionary key keeps the last value, as plistlib does; a <real> beyond the range of
// a double reads as an infinity or zero, as strtod does.
class XmlPropertyListParser {
 public:
  static Result<PropertyListReading> parse(std::string_view document);

  // A reading, with what PropertyListWriter::xmlSizeBound needs to bound the value's written
  // size without writing it.
  struct CountedReading {
    PropertyListReading reading;
    std::size_t elements = 0;  // values and keys
    int deepest = 0;           // the most containers open at once
  };
  static Result<CountedReading> parseCounted(std::string_view document);

 private:
  // An open container. An array's elements wait in pending_ from `firstPending` on until its end
  // tag, which moves them into an array of exactly their number; a dictionary's entries wait in
  // pendingEntries_ likewise, and are sorted then if the file's keys were not.
  struct Frame {
    PropertyList value;
    std::string key;
    bool hasKey = false;
    std::size_t firstPending = 0;
  };
  // An array element read but not yet in its array: a string that is plain text of the document
  // waits as a view of it, made a string only in its place in the array (most of a log's
  // elements are, and each would otherwise be made, moved and destroyed once more).
  using PendingElement = std::variant<std::string_view, PropertyList>;

  enum class Element {
    kPlist,
    kArray,
    kDict,
    kKey,
    kString,
    kInteger,
    kReal,
    kDate,
    kData,
    kTrue,
    kFalse,
    kUnknown
  };

  explicit XmlPropertyListParser(std::string_view document) : text_(document) {}

  Status run();
  // Reads a <string> or <key> holding only plain text, directly followed by its end tag, where
  // it may stand: the form nearly every element of a log takes. False, with nothing read, for
  // anything else, which parseMarkup then reads (and refuses, if it must).
  bool readPlainLeaf();
  // The end of the run of plain text (no markup, reference, CR or non-ASCII byte) from `from`.
  std::size_t plainTextEnd(std::size_t from) const;
  Status parseMarkup();
  Status parseStartTag(std::string_view name, bool selfClosing);
  Status parseEndTag();
  static Element elementNamed(std::string_view name);
  Status parseLeaf(std::string_view name, Element element, bool selfClosing);
  Status openContainer(PropertyList value);
  Status addValue(PropertyList value);
  // Pops the innermost open container and returns its value, complete.
  PropertyList closeContainer();
  Status readText(std::string_view name, bool selfClosing, std::string& out);
  Status appendReference(std::string& out);
  Status appendCharacters(std::string_view raw, std::string& out);
  Status skipPast(std::string_view opener, std::string_view terminator);
  Status skipDoctype();
  Status readTagName(std::string_view& name);
  Status skipAttributes(bool& selfClosing);
  void skipWhitespace();
  bool startsWith(std::string_view prefix) const;
  Status corrupt(const std::string& message) const;
  void noteInexact(const std::string& message);

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<Frame> stack_;
  std::vector<PendingElement> pending_;
  std::vector<PropertyList::Dictionary::value_type> pendingEntries_;
  PropertyList root_;
  bool hasRoot_ = false;
  bool plistOpen_ = false;
  bool plistClosed_ = false;
  std::string inexact_;
  std::size_t elements_ = 0;
  int deepest_ = 0;
};

}  // namespace kinetra
