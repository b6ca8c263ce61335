// Fuzz target for the whole property-list reader, both forms. Every input gives a value or a
// Corrupt/TooLarge refusal; a value must serialise, what is written must read back exactly, and
// writing that again must give the same bytes (the writer depends on the value alone).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kinetra;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto reading = PropertyListReader::read(bytes);
  if (!reading.ok()) {
    FUZZ_CHECK(fuzz::isRefusal(reading.status()));
    return 0;
  }
  // The reader takes only what the writer can write.
  auto written = PropertyListWriter::serialise(reading->value);
  FUZZ_CHECK(written.ok());
  auto again = PropertyListReader::read(*written);
  FUZZ_CHECK(again.ok() && again->exact());
  auto rewritten = PropertyListWriter::serialise(again->value);
  FUZZ_CHECK(rewritten.ok() && *rewritten == *written);
  return 0;
}
