#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "foundation/PropertyList.h"
#include "foundation/Status.h"

namespace kinetra {

// Reads property lists in the forms that exist on disk: XML (any version-1.0 document, through
// XmlPropertyListParser) and binary "bplist00" (vetted by BinaryPropertyListScanner, then
// parsed by libplist). Every string and key of a value read is valid UTF-8.
//
// Hostile input has a defined outcome and never crashes or hangs the process: input over
// kMaxFileBytes, containers nested deeper than PropertyList::kMaxDepth, or a binary table that
// expands beyond the scanner's bounds give TooLarge, decided before any value is built; bytes
// that do not parse give Corrupt. Stateless; safe to call from any thread.
class PropertyListReader {
 public:
  static constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

  PropertyListReader() = delete;

  // The value encoded by `bytes`, of any kind.
  static Result<PropertyList> parse(std::string_view bytes);

  // The value stored in the file at `path`. NotFound when there is no file there (or a path
  // component is not a directory); IOError when it cannot be read or is not a regular file;
  // TooLarge or Corrupt as for parse().
  static Result<PropertyList> readFile(const std::filesystem::path& path);
};

// Loads a stored file whose top level must be `expected` (an array or a dictionary). NotFound
// for a missing file, which callers treat as empty; Corrupt when it parses but its top level is
// of another kind; otherwise as PropertyListReader::readFile. Callers treat every error other
// than NotFound as an unreadable file.
Result<PropertyList> loadPropertyList(const std::filesystem::path& path,
                                      PropertyList::Kind expected);

}  // namespace kinetra
