#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string_view>

namespace kinetra {

// A piece of a file being written: bytes in memory, or `length` bytes at `offset` of the file
// the writer was given to take them from (the file being replaced, whose unchanged parts need not
// pass through memory).
struct FilePiece {
  std::string_view bytes;
  off_t offset = -1;  // at least 0 for a piece of the source file
  std::size_t length = 0;

  static FilePiece of(std::string_view bytes) { return {bytes, -1, 0}; }
  static FilePiece fromSource(off_t offset, std::size_t length) { return {{}, offset, length}; }

  bool inSource() const { return offset >= 0; }
  std::size_t size() const { return inSource() ? length : bytes.size(); }
};

}  // namespace kinetra
