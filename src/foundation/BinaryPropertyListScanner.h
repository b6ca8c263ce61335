#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Status.h"

namespace kinetra {

// Vets a binary property list ("bplist00") before libplist parses it, so that libplist only
// ever sees a well-formed object table of bounded depth and bounded expanded size.
//
// libplist expands every reference into a node of its own, recursively: a table whose objects
// refer to each other in a cycle, or a small table of shared objects that expands to an
// exponential tree, would exhaust its stack, memory or time. check() walks the object graph
// from the top object once, iteratively (an explicit stack, each object finished once and its
// results memoised), with every offset bounds-checked, and answers:
//   - Corrupt for a malformed trailer or offset table, an object that runs past the table, a
//     reference out of range, a cycle, a dictionary key that is not a string, kinds the system
//     does not read (null, UID, set), an integer beyond 2^64 - 1, a date libplist cannot hold;
//   - TooLarge when containers nest deeper than PropertyList::kMaxDepth, or the expanded tree
//     would exceed kMaxNodes nodes or kMaxPayloadBytes bytes of text and data;
//   - the table's Findings otherwise.
// Time and memory are linear in the size of the input.
class BinaryPropertyListScanner {
 public:
  static constexpr std::uint64_t kMaxNodes = std::uint64_t{1} << 22;
  static constexpr std::uint64_t kMaxPayloadBytes = std::uint64_t{256} << 20;

  // What check() found in a table it accepts.
  struct Findings {
    // Why libplist's value will not be exactly what the table holds, for the first object found
    // (empty when it will be): UTF-16 text with a lone surrogate (libplist drops it), ASCII text
    // holding a NUL character (libplist ends the text there), a date with a fraction of a second
    // (libplist keeps microseconds; the XML form keeps none).
    std::string inexact;
    // Where the table holds UTF-16 text of no units, which libplist refuses to read: the offsets
    // of their marker bytes. The same byte with 0x5 in place of 0x6 in its high half is empty
    // ASCII text, of the same length and meaning, which libplist reads.
    std::vector<std::uint64_t> emptyUtf16Text;
  };

  BinaryPropertyListScanner() = delete;

  static Result<Findings> check(std::string_view bytes);
};

}  // namespace kinetra
