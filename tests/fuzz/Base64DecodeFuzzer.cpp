// libFuzzer target: any text decodes without overrunning the estimated buffer, and any bytes
// survive an encode/decode round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "mail/Base64Codec.h"
#include "mail/Base64Data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kinetra;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Exactly the estimate, on the heap, so ASan sees any write past it.
  std::vector<std::uint8_t> decoded(EstimateBase64DecodedDataSize(size));
  std::size_t length = 0;
  if (!Base64DecodeData(text, decoded, length)) std::abort();
  if (length > decoded.size()) std::abort();

  Result<std::vector<std::uint8_t>> viaData = Base64Data::decodeBase64(text);
  if (!viaData || viaData->size() != length) std::abort();
  if (!std::equal(viaData->begin(), viaData->end(), decoded.begin())) std::abort();
  if (!Base64Data::decodeWebSafeBase64(text)) std::abort();

  const std::span<const std::uint8_t> bytes(data, size);
  Result<std::string> encoded = Base64Data::encodeBase64(bytes);
  if (!encoded || encoded->size() != (size + 2) / 3 * 4) std::abort();
  Result<std::vector<std::uint8_t>> back = Base64Data::decodeBase64(*encoded);
  if (!back || !std::equal(back->begin(), back->end(), bytes.begin(), bytes.end())) std::abort();
  return 0;
}
