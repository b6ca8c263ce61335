#pragma once

#include <cstddef>
#include <string_view>

namespace kinetra {

// Length of the well-formed UTF-8 sequence at the start of `text` when it encodes a character
// XML 1.0 allows (U+0080 to U+10FFFF without surrogates, U+FFFE and U+FFFF); 0 otherwise: a
// stray continuation byte, an overlong or truncated sequence, a surrogate, a code point beyond
// U+10FFFF. Precondition: text is not empty and text[0] >= 0x80 (ASCII is the caller's business).
inline std::size_t xmlCharacterLength(std::string_view text) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(0);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  if (lead == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
  if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
  if (lead == 0xF0 && byte(1) < 0x90) return 0;   // overlong
  if (lead == 0xF4 && byte(1) > 0x8F) return 0;   // beyond U+10FFFF
  if (lead == 0xEF && byte(1) == 0xBF && (byte(2) == 0xBE || byte(2) == 0xBF)) return 0;
  return length;
}

}  // namespace kinetra
