#include "graphics/PngEncoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <string>

namespace kinetra {

namespace {

// What the libpng callbacks touch. libpng reports errors by longjmp; the output vector lives
// in the caller's frame, outside the jump.
struct PngWriteState {
  std::vector<uint8_t>* output = nullptr;
  char message[160] = {};
};

void onPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
  std::strncpy(state->message, message, sizeof(state->message) - 1);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// No exception may cross libpng's C frames, and no longjmp may leave a catch block.
bool append(std::vector<uint8_t>& output, const uint8_t* data, size_t length) noexcept {
  try {
    output.insert(output.end(), data, data + length);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void writeToMemory(png_structp png, png_bytep data, png_size_t length) {
  auto* state = static_cast<PngWriteState*>(png_get_io_ptr(png));
  if (!append(*state->output, data, length)) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// No object with a destructor may live here: libpng may longjmp back into this function.
bool writeRows(png_structp png, png_infop info, int width, int height, const PngRows& row,
               PngEffort effort) {
  if (setjmp(png_jmpbuf(png))) return false;
  if (effort == PngEffort::kFastest) {
    // Drawn screens are mostly flat areas and lines, which deflate well unfiltered: no filter at
    // zlib's fastest level encodes a graph more than three times as fast as the default, and
    // only a fifth larger.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  }
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // libpng takes a non-const row but only reads it.
  for (int y = 0; y < height; ++y) png_write_row(png, const_cast<png_bytep>(row(y)));
  png_write_end(png, nullptr);
  return true;
}

struct PngWriteDeleter {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngWriteDeleter() {
    if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  }
};

}  // namespace

Result<std::vector<uint8_t>> encodePng(const Picture& picture, PngEffort effort) {
  if (picture.empty()) return Status::InvalidArgument("cannot encode an empty picture");
  const size_t stride = size_t(picture.width()) * 4;
  return encodePng(
      picture.width(), picture.height(),
      [&](int y) { return picture.rgba().data() + size_t(y) * stride; }, effort);
}

Result<std::vector<uint8_t>> encodePng(int width, int height, const PngRows& row,
                                       PngEffort effort) {
  if (width < 1 || height < 1) return Status::InvalidArgument("cannot encode an empty picture");
  std::vector<uint8_t> output;
  PngWriteState state;
  state.output = &output;

  PngWriteDeleter handles;
  handles.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, onPngError, onPngWarning);
  if (handles.png == nullptr) return Status::IOError("PNG: cannot create a writer");
  handles.info = png_create_info_struct(handles.png);
  if (handles.info == nullptr) return Status::IOError("PNG: cannot create a writer");
  png_set_write_fn(handles.png, &state, writeToMemory, flushNothing);

  if (!writeRows(handles.png, handles.info, width, height, row, effort)) {
    return Status::IOError(std::string("PNG: ") + state.message);
  }
  return output;
}

}  // namespace kinetra
