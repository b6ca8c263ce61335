#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "foundation/Status.h"
#include "graphics/Font.h"
#include "graphics/Geometry.h"
#include "graphics/Picture.h"

namespace kinetra {

// An off-screen drawing context with the operations of the device's 2-D drawing API, backed by
// a Cairo image surface. Coordinates are in points, origin at the top left, y growing
// downwards; the surface holds width × scale by height × scale device pixels so that text and
// lines come out sharp at scale 2. The canvas starts fully transparent.
//
// Graphics state and its initial values: fill colour and stroke colour opaque black, line
// width 1 point, no shadow, empty path. Butt line caps and mitred joins.
//
// Hostile arguments never break the context: an operation given a NaN or infinite number does
// nothing; colour components are clamped to [0, 1]; coordinates to ±100,000 points; text
// that is not valid UTF-8 is drawn with U+FFFD in place of the bad bytes.
//
// Not thread-safe; one owner. Move-only.
class DrawingContext {
 public:
  // Errors: InvalidArgument for a size or scale that is not positive and finite, or a scale
  // over 8; TooLarge when the device pixels exceed the picture limits (PictureHeader.h).
  static Result<DrawingContext> create(double width, double height, double scale);

  // Cairo and fontconfig keep process-wide font caches until exit. This releases them, for a
  // leak checker's sake; call it only when no drawing context is left, as the process ends.
  static void releaseFontCaches();

  DrawingContext(DrawingContext&&) noexcept;
  DrawingContext& operator=(DrawingContext&&) noexcept;
  DrawingContext(const DrawingContext&) = delete;
  DrawingContext& operator=(const DrawingContext&) = delete;
  ~DrawingContext();

  double width() const;   // points
  double height() const;  // points
  double scale() const;   // device pixels per point
  int pixelWidth() const;
  int pixelHeight() const;

  // Sets the shadow cast by everything drawn afterwards (fills, strokes, ellipses, text; not
  // clearRect): black at one third opacity, offset by (dx, dy) points and blurred by `blur`
  // points (a Gaussian of standard deviation blur / 2, at most 50 points).
  //
  // The offset follows the device convention, where positive dy points UP on the screen
  // regardless of this context's y-down coordinates: setShadow(0, -4, 1) puts the shadow 4
  // points BELOW the object, setShadow(3, 0, 0) 3 points to its right.
  //
  // setShadow(0, 0, 0) turns the shadow off; a negative blur counts as 0.
  void setShadow(double dx, double dy, double blur);

  // Makes the rectangle fully transparent. No shadow. The current path is kept.
  void clearRect(Rect rect);

  // Colours: gray or red/green/blue, and alpha, each from 0 to 1.
  void setGrayFillColor(double gray, double alpha);
  void setRGBFillColor(double red, double green, double blue, double alpha);
  void setGrayStrokeColor(double gray, double alpha);
  void setRGBStrokeColor(double red, double green, double blue, double alpha);

  // The width of stroked lines in points; a negative width counts as 0 (nothing is stroked).
  void setLineWidth(double width);

  // Fills with the fill colour and clears the current path.
  void fillRect(Rect rect);
  void fillEllipseInRect(Rect rect);

  // Path building: moveToPoint starts a new subpath; addLineToPoint without a current point
  // does nothing. strokePath strokes the path with the stroke colour and line width, then
  // clears it.
  void moveToPoint(double x, double y);
  void addLineToPoint(double x, double y);
  void strokePath();

  // Draws one line of UTF-8 text in the fill colour, in the system's sans-serif face
  // ("DejaVu Sans") at font.pointSize, with the top left of its line box at `point`: the
  // baseline lies at point.y plus the font's ascent. Does not touch the current path.
  void drawAtPoint(std::string_view text, Point point, const Font& font);

  // The canvas as straight-alpha RGBA pixels, pixelWidth() × pixelHeight().
  Picture picture() const;

  // The canvas as a PNG file of pixelWidth() × pixelHeight() pixels, encoded for speed
  // (PngEffort::kFastest): it is made for a screen that shows it at once.
  Result<std::vector<uint8_t>> pngData() const;

 private:
  struct Impl;
  explicit DrawingContext(std::unique_ptr<Impl> impl);

  std::unique_ptr<Impl> impl_;
};

}  // namespace kinetra
