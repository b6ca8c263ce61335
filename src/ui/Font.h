#pragma once

#include "graphics/Font.h"

namespace kinetra {

// The toolkit uses the drawing layer's Font: systemFontOfSize, boldSystemFontOfSize and
// italicSystemFontOfSize are its factories. fontWithSize is the same face at another size.
inline Font fontWithSize(const Font& font, double pointSize) {
  Font resized = font;
  resized.pointSize = pointSize;
  return resized;
}

inline bool fontsEqual(const Font& a, const Font& b) {
  return a.pointSize == b.pointSize && a.style == b.style;
}

}  // namespace kinetra
