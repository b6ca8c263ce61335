#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kinetra {

// Buffer-level Base64 (RFC 4648, standard alphabet, "=" padding). The encoder never writes line
// breaks; the decoder is lenient: it skips white space and every character outside the
// alphabet, and stops at the first "=". All functions are pure and thread-safe.

// The 64 characters of the standard alphabet, in order.
inline constexpr std::array<char, 64> kBase64EncodeTable = {
    'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P',
    'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', 'a', 'b', 'c', 'd', 'e', 'f',
    'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o', 'p', 'q', 'r', 's', 't', 'u', 'v',
    'w', 'x', 'y', 'z', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '+', '/'};

// Markers of kBase64DecodeTable for characters that carry no bits.
inline constexpr std::uint8_t kBase64Padding = 0xFD;     // "="
inline constexpr std::uint8_t kBase64WhiteSpace = 0xFE;  // tab, LF, VT, FF, CR, space
inline constexpr std::uint8_t kBase64Ignore = 0xFF;      // everything else

// Indexed by character code (0-127): an alphabet character's 6-bit value, or a marker above.
// Codes from 128 up are outside the table and are treated as kBase64Ignore.
inline constexpr std::array<std::uint8_t, 128> kBase64DecodeTable = [] {
  std::array<std::uint8_t, 128> table{};
  table.fill(kBase64Ignore);
  for (std::size_t value = 0; value < kBase64EncodeTable.size(); ++value) {
    table[static_cast<unsigned char>(kBase64EncodeTable[value])] = static_cast<std::uint8_t>(value);
  }
  table['='] = kBase64Padding;
  for (char space : {'\t', '\n', '\v', '\f', '\r', ' '}) {
    table[static_cast<unsigned char>(space)] = kBase64WhiteSpace;
  }
  return table;
}();

// The output size to offer the encoder for `inputSize` bytes: L = ceil(n / 3) * 4 plus two bytes
// for every complete 72-character line of L. An upper bound only (the encoder writes exactly
// ceil(n / 3) * 4 characters). Saturates at SIZE_MAX for sizes whose estimate would overflow.
std::size_t EstimateBase64EncodedDataSize(std::size_t inputSize);

// The output size to offer the decoder for `inputSize` characters: ceil(n / 4) * 3.
std::size_t EstimateBase64DecodedDataSize(std::size_t inputSize);

// Encodes `input` into `output`. The span's size is the buffer on offer: when it is below
// EstimateBase64EncodedDataSize(input.size()) nothing is written and false is returned.
// Otherwise writes 4 characters per 3 input bytes ("==" / "=" padding for a remainder of one /
// two bytes), sets `length` to the estimate (not to the characters written; bytes past them are
// left as they were) and returns true.
bool Base64EncodeData(std::span<const std::uint8_t> input, std::span<char> output,
                      std::size_t& length);

// Decodes `input` into `output`. First fills all of `output` with "." bytes; when its size is
// below 3 * ceil(n / 4) returns false. Otherwise decodes: "=" ends the input, white space and
// other characters are skipped, a trailing group of fewer than 8 bits is dropped; sets `length`
// to the number of bytes produced and returns true. Any byte sequence is acceptable input.
bool Base64DecodeData(std::span<const char> input, std::span<std::uint8_t> output,
                      std::size_t& length);

}  // namespace kinetra
