#include "ui/TextRange.h"

#include <algorithm>

namespace kinetra {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t toCharacterStart(const std::string& text, std::size_t offset) {
  while (offset > 0 && offset < text.size() && isContinuationByte(text[offset])) --offset;
  return offset;
}

}  // namespace

TextRange TextRange::clamped(const std::string& text, TextRange range) {
  const std::size_t start = toCharacterStart(text, std::min(range.location, text.size()));
  const std::size_t available = text.size() - start;
  const std::size_t end = toCharacterStart(text, start + std::min(range.length, available));
  return {start, std::max(end, start) - start};
}

std::string TextRange::replacing(const std::string& text, TextRange range,
                                 const std::string& replacement) {
  const TextRange r = clamped(text, range);
  std::string result = text;
  result.replace(r.location, r.length, replacement);
  return result;
}

TextRange TextRange::difference(const std::string& before, const std::string& after,
                                std::string& replacement) {
  std::size_t prefix = 0;
  const std::size_t shorter = std::min(before.size(), after.size());
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  // Back onto a character start in both texts (they agree up to prefix).
  while (prefix > 0 && ((prefix < before.size() && isContinuationByte(before[prefix])) ||
                        (prefix < after.size() && isContinuationByte(after[prefix])))) {
    --prefix;
  }
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  // The suffix must start on a character start in both texts.
  while (suffix > 0 && (isContinuationByte(before[before.size() - suffix]) ||
                        isContinuationByte(after[after.size() - suffix]))) {
    --suffix;
  }
  replacement = after.substr(prefix, after.size() - suffix - prefix);
  return {prefix, before.size() - suffix - prefix};
}

}  // namespace kinetra
