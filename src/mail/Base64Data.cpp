#include "mail/Base64Data.h"

#include <algorithm>

#include "mail/Base64Codec.h"

namespace kinetra {

namespace {

Status encodeFailure() { return Status::TooLarge("Base64Exception: Unable to encode data!"); }
Status decodeFailure() { return Status::TooLarge("Base64Exception: Unable to decode data!"); }

}  // namespace

Result<std::string> Base64Data::encodeBase64(std::span<const std::uint8_t> bytes) {
  const std::size_t estimate = EstimateBase64EncodedDataSize(bytes.size());
  std::string text;
  if (estimate >= text.max_size()) return encodeFailure();
  // The estimate leaves room for line breaks the encoder never writes; the text is the
  // characters before the first unwritten (zero) byte: 4 per started group of 3 bytes.
  text.assign(estimate + 1, '\0');
  std::size_t length = 0;
  if (!Base64EncodeData(bytes, text, length)) return encodeFailure();
  text.resize((bytes.size() + 2) / 3 * 4);
  return text;
}

Result<std::string> Base64Data::encodeBase64(std::string_view bytes) {
  return encodeBase64(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

Result<std::vector<std::uint8_t>> Base64Data::decodeBase64(std::string_view text) {
  std::vector<std::uint8_t> bytes(EstimateBase64DecodedDataSize(text.size()));
  std::size_t length = 0;
  if (!Base64DecodeData(text, bytes, length)) return decodeFailure();
  bytes.resize(length);
  return bytes;
}

Result<std::string> Base64Data::encodeWebSafeBase64(std::span<const std::uint8_t> bytes) {
  Result<std::string> text = encodeBase64(bytes);
  if (!text) return text;
  std::replace(text->begin(), text->end(), '+', '-');
  std::replace(text->begin(), text->end(), '/', '_');
  return text;
}

Result<std::vector<std::uint8_t>> Base64Data::decodeWebSafeBase64(std::string_view text) {
  std::string standard(text);
  std::replace(standard.begin(), standard.end(), '-', '+');
  std::replace(standard.begin(), standard.end(), '_', '/');
  return decodeBase64(standard);
}

}  // namespace kinetra
