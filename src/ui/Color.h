#pragma once

namespace kinetra {

// A colour: red, green, blue and alpha from 0 to 1. The grouped-table background is a pattern
// on the device; it is marked so the screen can draw it as such.
struct Color {
  enum class Pattern { kNone, kGroupTableViewBackground };

  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 0;
  Pattern pattern = Pattern::kNone;

  static Color rgba(double red, double green, double blue, double alpha) {
    return {red, green, blue, alpha, Pattern::kNone};
  }
  // colorWithWhite:alpha:
  static Color white(double white, double alpha) { return rgba(white, white, white, alpha); }

  static Color clearColor() { return {}; }
  static Color whiteColor() { return white(1, 1); }
  static Color blackColor() { return white(0, 1); }
  static Color grayColor() { return white(0.5, 1); }
  static Color lightGrayColor() { return white(2.0 / 3.0, 1); }
  static Color darkGrayColor() { return white(1.0 / 3.0, 1); }
  static Color redColor() { return rgba(1, 0, 0, 1); }
  static Color blueColor() { return rgba(0, 0, 1, 1); }
  static Color groupTableViewBackgroundColor() {
    return {0.77, 0.80, 0.84, 1, Pattern::kGroupTableViewBackground};
  }

  friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace kinetra
