#pragma once

#include <algorithm>
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
//     would exceed maxNodes(size) nodes or maxPayloadBytes(size) bytes of text and data;
//   - the table's Findings otherwise.
// Time and memory are linear in the size of the input.
class BinaryPropertyListScanner {
 public:
  static constexpr std::uint64_t kMaxNodes = std::uint64_t{1} << 22;
  static constexpr std::uint64_t kMaxPayloadBytes = std::uint64_t{256} << 20;

  // The expanded tree may also not be much larger than the table itself, so that reading costs
  // time and memory in proportion to the file's size: a table of a hundred bytes sharing each
  // level of arrays twice would otherwise cost as much as a log of a hundred megabytes. Each
  // value but the top one is reached through a reference of at least one byte, so a table that
  // shares only text and numbers (as writers that unique their objects do) expands to at most a
  // value per byte; the factor leaves room for shared containers as well. A shared text counts
  // its bytes at each reference: forty bytes of an exercise's name behind a two-byte reference
  // are twenty per byte of the table.
  static constexpr std::uint64_t kNodesPerByte = 8;
  static constexpr std::uint64_t kSmallTableNodes = std::uint64_t{1} << 16;
  static constexpr std::uint64_t kPayloadPerByte = 64;
  static constexpr std::uint64_t kSmallTablePayloadBytes = std::uint64_t{1} << 20;

  static constexpr std::uint64_t maxNodes(std::uint64_t tableBytes) {
    return std::min(kMaxNodes, kSmallTableNodes + kNodesPerByte * tableBytes);
  }
  static constexpr std::uint64_t maxPayloadBytes(std::uint64_t tableBytes) {
    return std::min(kMaxPayloadBytes, kSmallTablePayloadBytes + kPayloadPerByte * tableBytes);
  }

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
