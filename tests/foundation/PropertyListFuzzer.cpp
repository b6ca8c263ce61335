// libFuzzer entry for the property-list readers, not part of the regular build. Every input must
// give a value or an error; a value must serialise, and what is written must read back, exactly.
//
//   S=src/foundation; clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//     tests/foundation/PropertyListFuzzer.cpp $S/AtomicFile.cpp $S/BinaryPropertyListScanner.cpp \
//     $S/PropertyList.cpp $S/PropertyListReader.cpp $S/PropertyListWriter.cpp \
//     $S/XmlPropertyListParser.cpp $S/Status.cpp $(pkg-config --cflags --libs libplist-2.0) \
//     -o /tmp/plist_fuzzer && /tmp/plist_fuzzer -max_len=4096 /tmp/plist_corpus
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto reading = kinetra::PropertyListReader::read(bytes);
  if (!reading.ok()) return 0;
  // The reader takes only what the writer can write.
  auto written = kinetra::PropertyListWriter::serialise(reading->value);
  if (!written.ok()) __builtin_trap();
  auto again = kinetra::PropertyListReader::read(*written);
  if (!again.ok() || !again->exact()) __builtin_trap();
  return 0;
}
