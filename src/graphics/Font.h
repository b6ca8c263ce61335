#pragma once

namespace kinetra {

// A font for drawing text: the system font (a sans-serif face) at a size in points.
struct Font {
  enum class Style { kRegular, kBold, kItalic };

  double pointSize = 12;
  Style style = Style::kRegular;

  static Font systemFontOfSize(double size) { return {size, Style::kRegular}; }
  static Font boldSystemFontOfSize(double size) { return {size, Style::kBold}; }
  static Font italicSystemFontOfSize(double size) { return {size, Style::kItalic}; }
};

}  // namespace kinetra
