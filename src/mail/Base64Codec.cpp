#include "mail/Base64Codec.h"

#include <algorithm>
#include <limits>

namespace kinetra {

namespace {

constexpr std::size_t kMaxSize = std::numeric_limits<std::size_t>::max();

// Two alphabet characters for every 12-bit value, so three input bytes take two lookups.
constexpr std::array<std::array<char, 2>, 4096> kPairTable = [] {
  std::array<std::array<char, 2>, 4096> table{};
  for (std::size_t value = 0; value < table.size(); ++value) {
    table[value] = {kBase64EncodeTable[value >> 6], kBase64EncodeTable[value & 0x3F]};
  }
  return table;
}();

// The 6-bit value of a character, or a marker; codes from 128 up are ignored.
inline std::uint8_t decodeValue(char character) {
  const auto code = static_cast<unsigned char>(character);
  return code < kBase64DecodeTable.size() ? kBase64DecodeTable[code] : kBase64Ignore;
}

void encodeRemainder(std::span<const std::uint8_t> rest, char* out) {
  const std::uint32_t first = rest[0];
  const std::uint32_t second = rest.size() > 1 ? rest[1] : 0;
  out[0] = kBase64EncodeTable[first >> 2];
  out[1] = kBase64EncodeTable[((first & 0x03) << 4) | (second >> 4)];
  out[2] = rest.size() > 1 ? kBase64EncodeTable[(second & 0x0F) << 2] : '=';
  out[3] = '=';
}

}  // namespace

std::size_t EstimateBase64EncodedDataSize(std::size_t inputSize) {
  const std::size_t groups = inputSize / 3 + (inputSize % 3 != 0 ? 1 : 0);
  if (groups > kMaxSize / 4) return kMaxSize;
  const std::size_t length = groups * 4;
  const std::size_t lines = length / 72;
  if (lines > (kMaxSize - length % 72) / 74) return kMaxSize;
  return lines * 74 + length % 72;
}

std::size_t EstimateBase64DecodedDataSize(std::size_t inputSize) {
  return (inputSize / 4 + (inputSize % 4 != 0 ? 1 : 0)) * 3;
}

bool Base64EncodeData(std::span<const std::uint8_t> input, std::span<char> output,
                      std::size_t& length) {
  const std::size_t estimate = EstimateBase64EncodedDataSize(input.size());
  if (output.size() < estimate) return false;
  const std::uint8_t* in = input.data();
  const std::uint8_t* whole = in + input.size() / 3 * 3;
  char* out = output.data();
  for (; in != whole; in += 3, out += 4) {
    const std::uint32_t bits = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
    const auto& high = kPairTable[bits >> 12];
    const auto& low = kPairTable[bits & 0xFFF];
    out[0] = high[0];
    out[1] = high[1];
    out[2] = low[0];
    out[3] = low[1];
  }
  if (input.size() % 3 != 0) encodeRemainder(input.subspan(input.size() / 3 * 3), out);
  length = estimate;
  return true;
}

bool Base64DecodeData(std::span<const char> input, std::span<std::uint8_t> output,
                      std::size_t& length) {
  std::fill(output.begin(), output.end(), static_cast<std::uint8_t>('.'));
  if (output.size() < EstimateBase64DecodedDataSize(input.size())) return false;
  const char* in = input.data();
  const char* const end = in + input.size();
  std::uint8_t* out = output.data();
  std::uint32_t bits = 0;  // pending bits, right-aligned
  int pending = 0;         // how many
  while (in != end) {
    // Fast path: four alphabet characters on a group boundary make three bytes.
    if (pending == 0 && end - in >= 4) {
      const std::uint32_t a = decodeValue(in[0]);
      const std::uint32_t b = decodeValue(in[1]);
      const std::uint32_t c = decodeValue(in[2]);
      const std::uint32_t d = decodeValue(in[3]);
      if ((a | b | c | d) < 64) {
        const std::uint32_t group = (a << 18) | (b << 12) | (c << 6) | d;
        out[0] = static_cast<std::uint8_t>(group >> 16);
        out[1] = static_cast<std::uint8_t>(group >> 8);
        out[2] = static_cast<std::uint8_t>(group);
        out += 3;
        in += 4;
        continue;
      }
    }
    const std::uint8_t value = decodeValue(*in++);
    if (value == kBase64Padding) break;
    if (value >= 64) continue;
    bits = (bits << 6) | value;
    pending += 6;
    if (pending >= 8) {
      pending -= 8;
      *out++ = static_cast<std::uint8_t>(bits >> pending);
      bits &= (1u << pending) - 1;
    }
  }
  length = static_cast<std::size_t>(out - output.data());
  return true;
}

}  // namespace kinetra
