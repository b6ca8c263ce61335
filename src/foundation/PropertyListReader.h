#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/PropertyList.h"
#include "foundation/Status.h"

namespace kinetra {

// A value as read, and whether it is all that the bytes hold.
struct PropertyListReading {
  PropertyList value;
  // Empty when `value` is exactly what the bytes encode, so that writing it back loses nothing.
  // Otherwise the first thing reading could not keep (a repeated dictionary key, text XML cannot
  // carry, a fraction of a second, ...), for a diagnostic line; `value` then holds what could be
  // read, with any such text repaired as PropertyListWriter repairs it.
  std::string inexact;

  bool exact() const { return inexact.empty(); }
};

// Reads property lists in the forms that exist on disk: XML (any version-1.0 document, through
// XmlPropertyListParser) and binary "bplist00" (vetted by BinaryPropertyListScanner, then
// parsed by libplist). Every string and key of a value read is valid UTF-8 of characters XML
// allows, so the writer writes it unchanged.
//
// Hostile input has a defined outcome and never crashes or hangs the process: input over
// `maxBytes` (PropertyList::kMaxFileBytes unless a caller passes a limit), a value whose XML form
// as PropertyListWriter writes it would be over `maxBytes`, containers nested deeper than
// PropertyList::kMaxDepth, or a binary table that expands beyond the scanner's bounds give
// TooLarge; bytes that do not parse give Corrupt. So the reader takes only values the writer can
// write, and reads back everything the writer writes. Stateless; safe to call from any thread.
class PropertyListReader {
 public:
  static constexpr std::size_t kMaxFileBytes = PropertyList::kMaxFileBytes;

  PropertyListReader() = delete;

  // The value encoded by `bytes`, of any kind, and whether it is exact.
  static Result<PropertyListReading> read(std::string_view bytes,
                                          std::size_t maxBytes = kMaxFileBytes);

  // read()'s value, exact or not.
  static Result<PropertyList> parse(std::string_view bytes, std::size_t maxBytes = kMaxFileBytes);

  // The value stored in the file at `path`, exact or not. NotFound when there is no file there
  // (or a path component is not a directory); IOError when it cannot be read or is not a regular
  // file; TooLarge (a file over kMaxFileBytes is refused before it is read) or Corrupt as for
  // read().
  static Result<PropertyList> readFile(const std::filesystem::path& path);
};

// Loads a stored file whose top level must be `expected` (an array or a dictionary), telling
// whether its value is exact. NotFound for a missing file, which callers treat as empty; Corrupt
// when it parses but its top level is of another kind; otherwise as PropertyListReader::readFile.
// Callers treat every error other than NotFound as an unreadable file.
Result<PropertyListReading> loadPropertyListReading(const std::filesystem::path& path,
                                                    PropertyList::Kind expected);

// loadPropertyListReading()'s value, exact or not.
Result<PropertyList> loadPropertyList(const std::filesystem::path& path,
                                      PropertyList::Kind expected);

}  // namespace kinetra
