#include "graphics/DrawingContext.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <string>

#include "graphics/PictureHeader.h"
#include "graphics/PngEncoder.h"
#include "graphics/ShadowBlur.h"

namespace kinetra {

namespace {

constexpr double kMaxScale = 8;
constexpr double kMaxCoordinate = 1e5;    // points: within cairo's fixed-point range at scale 8
constexpr double kMaxLineWidth = 1e4;     // points
constexpr double kMaxFontSize = 1000;     // points
constexpr double kMaxShadowBlur = 50;     // points
constexpr double kShadowAlpha = 1.0 / 3;  // the device's default shadow colour is black at 1/3
constexpr const char* kSystemFontFace = "DejaVu Sans";

struct CairoDeleter {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;
using SurfacePtr = std::unique_ptr<cairo_surface_t, CairoDeleter>;

struct Colour {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
};

struct PathElement {
  bool startsSubpath = false;
  double x = 0;
  double y = 0;
};

bool finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

double unit(double value) { return std::clamp(value, 0.0, 1.0); }
double coordinate(double value) { return std::clamp(value, -kMaxCoordinate, kMaxCoordinate); }

Rect clamped(Rect rect) {
  return {coordinate(rect.x), coordinate(rect.y), coordinate(rect.width), coordinate(rect.height)};
}

// Appends the UTF-8 sequence at text[at...] to out if it is well formed (no overlong form,
// surrogate or value past U+10FFFF) and returns its length; returns 0 otherwise.
size_t appendValidSequence(std::string_view text, size_t at, std::string& out) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  uint32_t value = 0;
  uint32_t minimum = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2, value = lead & 0x1fu, minimum = 0x80;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3, value = lead & 0x0fu, minimum = 0x800;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4, value = lead & 0x07u, minimum = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xc0u) != 0x80u) return 0;
    value = (value << 6) | (next & 0x3fu);
  }
  if (value < minimum || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff)) return 0;
  out.append(text.substr(at, length));
  return length;
}

// Cairo puts a context into a permanent error state on invalid UTF-8; never hand it any.
// NUL bytes are dropped (they would end the C string early).
std::string validUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      if (c != 0) out.push_back(char(c));
      ++at;
      continue;
    }
    const size_t used = appendValidSequence(text, at, out);
    if (used == 0) {
      out.append("\xef\xbf\xbd");
      ++at;
      continue;
    }
    at += used;
  }
  return out;
}

void setSource(cairo_t* cairo, const Colour& colour) {
  cairo_set_source_rgba(cairo, colour.red, colour.green, colour.blue, colour.alpha);
}

// Text layout must not depend on the device scale or the surface, so that a shadow drawn
// through a recording surface lines up with the text drawn on the canvas.
void setTextOptions(cairo_t* cairo) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cairo, options);
  cairo_font_options_destroy(options);
}

// Unpremultiplying divides by alpha, rounding: (channel * 255 + alpha / 2) / alpha, at most 255.
// Multiplying by ceil(2^32 / alpha) and shifting gives the same quotient for every numerator n
// with n * alpha < 2^32, which holds for all the numerators here (n < 2^16, alpha < 2^8); the
// static_assert below checks every case.
constexpr std::array<uint64_t, 256> kAlphaReciprocals = [] {
  std::array<uint64_t, 256> reciprocals{};
  for (uint64_t alpha = 1; alpha < 256; ++alpha) {
    reciprocals[alpha] = ((uint64_t{1} << 32) + alpha - 1) / alpha;
  }
  return reciprocals;
}();

constexpr uint8_t unpremultiply(uint32_t channel, uint32_t alpha) {
  const uint64_t numerator = channel * 255 + alpha / 2;
  return uint8_t(std::min<uint64_t>(255, (numerator * kAlphaReciprocals[alpha]) >> 32));
}

constexpr bool unpremultiplyDividesExactly() {
  for (uint32_t alpha = 1; alpha < 256; ++alpha) {
    for (uint32_t channel = 0; channel < 256; ++channel) {
      const uint32_t quotient = std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha);
      if (unpremultiply(channel, alpha) != quotient) return false;
    }
  }
  return true;
}
static_assert(unpremultiplyDividesExactly());

// An opaque pixel of the surface as RGBA: unpremultiplying it changes nothing.
void copyOpaquePixel(uint32_t argb, uint8_t* out) {
  out[0] = uint8_t(argb >> 16);
  out[1] = uint8_t(argb >> 8);
  out[2] = uint8_t(argb);
  out[3] = 255;
}

// One pixel of the surface's premultiplied native-order ARGB as straight RGBA.
void unpremultiplyPixel(uint32_t argb, uint8_t* out) {
  const uint32_t a = argb >> 24;
  if (a == 0) {
    std::memset(out, 0, 4);
    return;
  }
  if (a == 255) {
    copyOpaquePixel(argb, out);
    return;
  }
  out[0] = unpremultiply((argb >> 16) & 0xffu, a);
  out[1] = unpremultiply((argb >> 8) & 0xffu, a);
  out[2] = unpremultiply(argb & 0xffu, a);
  out[3] = uint8_t(a);
}

// One row of the surface as straight RGBA, `width` pixels. Most of a screen's pixels are
// transparent or opaque, in runs: four at a time, a group wholly of either kind takes no branch
// per pixel.
void unpremultiplyRow(const unsigned char* argbRow, int width, uint8_t* out) {
  constexpr int kGroup = 4;
  int x = 0;
  for (; x + kGroup <= width; x += kGroup, out += 4 * kGroup) {
    std::array<uint32_t, kGroup> group;
    std::memcpy(group.data(), argbRow + size_t(x) * 4, sizeof group);
    const uint32_t any = group[0] | group[1] | group[2] | group[3];
    const uint32_t all = group[0] & group[1] & group[2] & group[3];
    if (any == 0) {
      std::memset(out, 0, 4 * kGroup);
    } else if (all >> 24 == 255) {
      for (int i = 0; i < kGroup; ++i) copyOpaquePixel(group[size_t(i)], out + 4 * i);
    } else {
      for (int i = 0; i < kGroup; ++i) unpremultiplyPixel(group[size_t(i)], out + 4 * i);
    }
  }
  for (; x < width; ++x, out += 4) {
    uint32_t argb = 0;
    std::memcpy(&argb, argbRow + size_t(x) * 4, sizeof(argb));
    unpremultiplyPixel(argb, out);
  }
}

}  // namespace

struct DrawingContext::Impl {
  using Drawing = std::function<void(cairo_t*)>;

  double width = 0;
  double height = 0;
  double scale = 1;
  SurfacePtr surface;
  CairoPtr cairo;

  Colour fill;
  Colour stroke;
  double lineWidth = 1;
  bool shadowOn = false;
  double shadowDx = 0;     // device pixels, y down
  double shadowDy = 0;     // device pixels, y down
  double shadowSigma = 0;  // device pixels
  std::vector<PathElement> path;

  void draw(const Drawing& drawing) {
    if (shadowOn) drawShadow(drawing);
    cairo_save(cairo.get());
    drawing(cairo.get());
    cairo_restore(cairo.get());
  }

  // Records the drawing's coverage, blurs it in an alpha mask covering only its ink (plus the
  // blur's reach) where it lands on the canvas, and paints the shadow colour through the mask
  // at the offset.
  void drawShadow(const Drawing& drawing) {
    SurfacePtr recording(cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr));
    {
      CairoPtr recorder(cairo_create(recording.get()));
      cairo_scale(recorder.get(), scale, scale);
      drawing(recorder.get());
    }
    double x = 0, y = 0, w = 0, h = 0;
    cairo_recording_surface_ink_extents(recording.get(), &x, &y, &w, &h);
    if (w <= 0 || h <= 0) return;

    const double reach = shadowBlurReach(shadowSigma) + 1;
    const double left = std::max(std::floor(x) - reach, std::floor(-shadowDx) - reach);
    const double top = std::max(std::floor(y) - reach, std::floor(-shadowDy) - reach);
    const double right =
        std::min(std::ceil(x + w) + reach, std::ceil(pixelWidth() - shadowDx) + reach);
    const double bottom =
        std::min(std::ceil(y + h) + reach, std::ceil(pixelHeight() - shadowDy) + reach);
    if (right <= left || bottom <= top) return;

    SurfacePtr mask(
        cairo_image_surface_create(CAIRO_FORMAT_A8, int(right - left), int(bottom - top)));
    if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return;
    {
      CairoPtr painter(cairo_create(mask.get()));
      cairo_set_source_surface(painter.get(), recording.get(), -left, -top);
      cairo_paint(painter.get());
    }
    cairo_surface_flush(mask.get());
    blurShadowMask(cairo_image_surface_get_data(mask.get()),
                   cairo_image_surface_get_width(mask.get()),
                   cairo_image_surface_get_height(mask.get()),
                   size_t(cairo_image_surface_get_stride(mask.get())), shadowSigma);
    cairo_surface_mark_dirty(mask.get());

    cairo_t* canvas = cairo.get();
    cairo_save(canvas);
    cairo_identity_matrix(canvas);
    cairo_set_source_rgba(canvas, 0, 0, 0, kShadowAlpha);
    cairo_mask_surface(canvas, mask.get(), left + shadowDx, top + shadowDy);
    cairo_restore(canvas);
  }

  int pixelWidth() const { return cairo_image_surface_get_width(surface.get()); }
  int pixelHeight() const { return cairo_image_surface_get_height(surface.get()); }
};

Result<DrawingContext> DrawingContext::create(double width, double height, double scale) {
  if (!finite({width, height, scale}) || width <= 0 || height <= 0 || scale <= 0 ||
      scale > kMaxScale) {
    return Status::InvalidArgument("drawing context needs a positive size and a scale up to 8");
  }
  const double pixelWidth = std::ceil(width * scale);
  const double pixelHeight = std::ceil(height * scale);
  if (pixelWidth > kMaxPictureSide || pixelHeight > kMaxPictureSide) {
    return Status::TooLarge("drawing context is over the picture limits");
  }
  Status limits = checkPictureSize(int64_t(pixelWidth), int64_t(pixelHeight));
  if (!limits.ok()) return limits;

  auto impl = std::make_unique<Impl>();
  impl->width = width;
  impl->height = height;
  impl->scale = scale;
  impl->surface.reset(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(pixelWidth), int(pixelHeight)));
  if (cairo_surface_status(impl->surface.get()) != CAIRO_STATUS_SUCCESS) {
    return Status::IOError("cannot create the drawing surface");
  }
  impl->cairo.reset(cairo_create(impl->surface.get()));
  if (cairo_status(impl->cairo.get()) != CAIRO_STATUS_SUCCESS) {
    return Status::IOError("cannot create the drawing context");
  }
  cairo_scale(impl->cairo.get(), scale, scale);
  return DrawingContext(std::move(impl));
}

DrawingContext::DrawingContext(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DrawingContext::DrawingContext(DrawingContext&&) noexcept = default;
DrawingContext& DrawingContext::operator=(DrawingContext&&) noexcept = default;
DrawingContext::~DrawingContext() = default;

double DrawingContext::width() const { return impl_->width; }
double DrawingContext::height() const { return impl_->height; }
double DrawingContext::scale() const { return impl_->scale; }
int DrawingContext::pixelWidth() const { return impl_->pixelWidth(); }
int DrawingContext::pixelHeight() const { return impl_->pixelHeight(); }

void DrawingContext::setShadow(double dx, double dy, double blur) {
  if (!finite({dx, dy, blur})) return;
  blur = std::clamp(blur, 0.0, kMaxShadowBlur);
  impl_->shadowOn = !(dx == 0 && dy == 0 && blur == 0);
  impl_->shadowDx = coordinate(dx) * impl_->scale;
  impl_->shadowDy = -coordinate(dy) * impl_->scale;  // positive dy points up on the screen
  impl_->shadowSigma = blur * impl_->scale / 2;
}

void DrawingContext::clearRect(Rect rect) {
  if (!finite({rect.x, rect.y, rect.width, rect.height})) return;
  rect = clamped(rect);
  cairo_t* cairo = impl_->cairo.get();
  cairo_save(cairo);
  cairo_set_operator(cairo, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cairo, rect.x, rect.y, rect.width, rect.height);
  cairo_fill(cairo);
  cairo_restore(cairo);
}

void DrawingContext::setGrayFillColor(double gray, double alpha) {
  setRGBFillColor(gray, gray, gray, alpha);
}

void DrawingContext::setRGBFillColor(double red, double green, double blue, double alpha) {
  if (!finite({red, green, blue, alpha})) return;
  impl_->fill = {unit(red), unit(green), unit(blue), unit(alpha)};
}

void DrawingContext::setGrayStrokeColor(double gray, double alpha) {
  setRGBStrokeColor(gray, gray, gray, alpha);
}

void DrawingContext::setRGBStrokeColor(double red, double green, double blue, double alpha) {
  if (!finite({red, green, blue, alpha})) return;
  impl_->stroke = {unit(red), unit(green), unit(blue), unit(alpha)};
}

void DrawingContext::setLineWidth(double width) {
  if (!finite({width})) return;
  impl_->lineWidth = std::clamp(width, 0.0, kMaxLineWidth);
}

void DrawingContext::fillRect(Rect rect) {
  if (!finite({rect.x, rect.y, rect.width, rect.height})) return;
  rect = clamped(rect);
  const Colour colour = impl_->fill;
  impl_->path.clear();
  impl_->draw([rect, colour](cairo_t* cairo) {
    setSource(cairo, colour);
    cairo_rectangle(cairo, rect.x, rect.y, rect.width, rect.height);
    cairo_fill(cairo);
  });
}

void DrawingContext::fillEllipseInRect(Rect rect) {
  if (!finite({rect.x, rect.y, rect.width, rect.height})) return;
  rect = clamped(rect);
  impl_->path.clear();
  if (rect.width == 0 || rect.height == 0) return;  // a degenerate scale would break cairo
  const Colour colour = impl_->fill;
  impl_->draw([rect, colour](cairo_t* cairo) {
    setSource(cairo, colour);
    cairo_translate(cairo, rect.x + rect.width / 2, rect.y + rect.height / 2);
    cairo_scale(cairo, rect.width / 2, rect.height / 2);
    cairo_arc(cairo, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_fill(cairo);
  });
}

void DrawingContext::moveToPoint(double x, double y) {
  if (!finite({x, y})) return;
  impl_->path.push_back({true, coordinate(x), coordinate(y)});
}

void DrawingContext::addLineToPoint(double x, double y) {
  if (!finite({x, y}) || impl_->path.empty()) return;
  impl_->path.push_back({false, coordinate(x), coordinate(y)});
}

void DrawingContext::strokePath() {
  std::vector<PathElement> path = std::move(impl_->path);
  impl_->path.clear();
  if (path.empty() || impl_->lineWidth == 0) return;
  const Colour colour = impl_->stroke;
  const double lineWidth = impl_->lineWidth;
  impl_->draw([&path, colour, lineWidth](cairo_t* cairo) {
    setSource(cairo, colour);
    cairo_set_line_width(cairo, lineWidth);
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cairo, CAIRO_LINE_JOIN_MITER);
    cairo_new_path(cairo);
    for (const PathElement& element : path) {
      if (element.startsSubpath) {
        cairo_move_to(cairo, element.x, element.y);
      } else {
        cairo_line_to(cairo, element.x, element.y);
      }
    }
    cairo_stroke(cairo);
  });
}

void DrawingContext::drawAtPoint(std::string_view text, Point point, const Font& font) {
  if (!finite({point.x, point.y, font.pointSize}) || font.pointSize <= 0) return;
  const std::string utf8 = validUtf8(text);
  if (utf8.empty()) return;
  const double size = std::min(font.pointSize, kMaxFontSize);
  const double x = coordinate(point.x);
  const double y = coordinate(point.y);
  const cairo_font_slant_t slant =
      font.style == Font::Style::kItalic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL;
  const cairo_font_weight_t weight =
      font.style == Font::Style::kBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL;
  const Colour colour = impl_->fill;
  impl_->draw([&utf8, size, x, y, slant, weight, colour](cairo_t* cairo) {
    setTextOptions(cairo);
    cairo_select_font_face(cairo, kSystemFontFace, slant, weight);
    cairo_set_font_size(cairo, size);
    cairo_font_extents_t extents;
    cairo_font_extents(cairo, &extents);
    setSource(cairo, colour);
    cairo_move_to(cairo, x, y + extents.ascent);
    cairo_show_text(cairo, utf8.c_str());
  });
}

Picture DrawingContext::picture() const {
  cairo_surface_t* surface = impl_->surface.get();
  cairo_surface_flush(surface);
  const int width = impl_->pixelWidth();
  const int height = impl_->pixelHeight();
  const size_t stride = size_t(cairo_image_surface_get_stride(surface));
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
  for (int y = 0; y < height; ++y) {
    unpremultiplyRow(data + size_t(y) * stride, width, rgba.data() + size_t(y) * size_t(width) * 4);
  }
  return std::move(Picture::create(width, height, std::move(rgba))).value();
}

// Row by row from the surface: no copy of the whole picture is made.
Result<std::vector<uint8_t>> DrawingContext::pngData() const {
  cairo_surface_t* surface = impl_->surface.get();
  cairo_surface_flush(surface);
  const int width = impl_->pixelWidth();
  const size_t stride = size_t(cairo_image_surface_get_stride(surface));
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<uint8_t> row(size_t(width) * 4);
  return encodePng(
      width, impl_->pixelHeight(),
      [&](int y) {
        unpremultiplyRow(data + size_t(y) * stride, width, row.data());
        return row.data();
      },
      PngEffort::kFastest);
}

void DrawingContext::releaseFontCaches() {
  cairo_debug_reset_static_data();  // drops cairo's references into fontconfig first
  FcFini();
}

}  // namespace kinetra
