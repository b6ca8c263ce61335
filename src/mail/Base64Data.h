#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Status.h"

namespace kinetra {

// Base64 for whole byte buffers, on top of Base64Codec. A failure is reported as a Status whose
// message begins "Base64Exception: " followed by the reason ("Unable to encode data!" or
// "Unable to decode data!"); with the codec's estimates neither can happen for a buffer that
// fits in memory, but callers still get a defined error rather than an exception.
// Stateless; thread-safe.
class Base64Data {
 public:
  Base64Data() = delete;

  // The standard encoding, no line breaks: "abc" -> "YWJj".
  static Result<std::string> encodeBase64(std::span<const std::uint8_t> bytes);
  static Result<std::string> encodeBase64(std::string_view bytes);

  // Decodes leniently (see Base64DecodeData): white space and foreign characters are skipped,
  // decoding stops at the first "=". Every text yields some buffer.
  static Result<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

  // The URL-safe variants: "-" and "_" stand for "+" and "/".
  static Result<std::string> encodeWebSafeBase64(std::span<const std::uint8_t> bytes);
  static Result<std::vector<std::uint8_t>> decodeWebSafeBase64(std::string_view text);
};

}  // namespace kinetra
