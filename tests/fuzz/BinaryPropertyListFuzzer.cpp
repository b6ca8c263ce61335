// Fuzz target for the binary property-list scanner, the gate in front of libplist. Any bytes
// give findings or a Corrupt or TooLarge refusal, and the reader agrees with the scanner: what
// the scanner refuses the reader refuses with the same code, what it accepts libplist reads
// (unless the value's XML form is over the limit), and what the scanner calls inexact does not
// read exactly. A value read writes and reads back exactly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "foundation/BinaryPropertyListScanner.h"
#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kinetra;
  // The scanner is handed whatever starts with the binary magic; make every input such a table
  // so that no run is spent on the XML path.
  std::string bytes = "bplist00";
  if (size >= 8 && std::string_view(reinterpret_cast<const char*>(data), 8) == bytes) {
    bytes.clear();
  }
  bytes.append(reinterpret_cast<const char*>(data), size);

  auto findings = BinaryPropertyListScanner::check(bytes);
  // A small limit on the XML form keeps a run short when a small table expands a lot.
  constexpr std::size_t kLimit = std::size_t{4} << 20;
  auto reading = PropertyListReader::read(bytes, kLimit);
  if (!findings.ok()) {
    FUZZ_CHECK(fuzz::isRefusal(findings.status()));
    FUZZ_CHECK(!reading.ok() && reading.status().code() == findings.status().code());
    return 0;
  }
  if (!reading.ok()) {
    FUZZ_CHECK(reading.status().code() == Status::Code::kTooLarge);
    return 0;
  }
  if (!findings->inexact.empty()) FUZZ_CHECK(!reading->exact());
  auto written = PropertyListWriter::serialise(reading->value, kLimit);
  FUZZ_CHECK(written.ok());
  auto again = PropertyListReader::read(*written, kLimit);
  FUZZ_CHECK(again.ok() && again->exact());
  return 0;
}
