// Fuzz target for the XML property-list parser alone. Any bytes give a value or a Corrupt or
// TooLarge refusal. A value read exactly, once written, parses back to a value that writes the
// same bytes; an inexact reading says why.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/XmlPropertyListParser.h"

namespace {

// Containers nested beyond the limit are refused rather than read, at every depth.
int depthOf(const kinetra::PropertyList& value) {
  int deepest = 0;
  if (value.isArray()) {
    for (const auto& item : value.asArray()) deepest = std::max(deepest, depthOf(item));
    return deepest + 1;
  }
  if (value.isDictionary()) {
    for (const auto& [key, item] : value.asDictionary()) deepest = std::max(deepest, depthOf(item));
    return deepest + 1;
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kinetra;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto parsed = XmlPropertyListParser::parse(bytes);
  if (!parsed.ok()) {
    FUZZ_CHECK(fuzz::isRefusal(parsed.status()));
    return 0;
  }
  FUZZ_CHECK(depthOf(parsed->value) <= PropertyList::kMaxDepth);
  auto written = PropertyListWriter::serialise(parsed->value);
  FUZZ_CHECK(written.ok());
  auto again = XmlPropertyListParser::parse(*written);
  FUZZ_CHECK(again.ok() && again->exact());
  auto rewritten = PropertyListWriter::serialise(again->value);
  FUZZ_CHECK(rewritten.ok() && *rewritten == *written);
  return 0;
}
