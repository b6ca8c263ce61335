#pragma once

#include <cstddef>
#include <string>

namespace kinetra {

// A range of a UTF-8 text, in bytes: where an edit starts and how many bytes it replaces.
struct TextRange {
  std::size_t location = 0;
  std::size_t length = 0;

  friend bool operator==(const TextRange&, const TextRange&) = default;

  // The range moved inside `text` and onto whole characters: a location past the end goes to
  // the end, a length past the end is cut, and both ends move back to a character start.
  static TextRange clamped(const std::string& text, TextRange range);
  // The text with `range` (clamped) replaced.
  static std::string replacing(const std::string& text, TextRange range,
                               const std::string& replacement);
  // The edit that turns `before` into `after`: the range of `before` that changed, with
  // `replacement` set to what took its place. Ends on whole characters.
  static TextRange difference(const std::string& before, const std::string& after,
                              std::string& replacement);
};

}  // namespace kinetra
