#include "graphics/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/PictureHeader.h"

namespace kinetra {

namespace {

// Ancillary chunks (text, ICC profiles) may not inflate beyond this; a bomb is an error.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;

// Everything the libpng callbacks touch. Trivially destructible on purpose: libpng reports
// errors by longjmp, which must not skip a destructor.
struct PngReadState {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;
  char message[160] = {};
};

void onPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngReadState*>(png_get_error_ptr(png));
  std::strncpy(state->message, message, sizeof(state->message) - 1);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
  if (length > state->size - state->position) png_error(png, "PNG data is truncated");
  std::memcpy(out, state->data + state->position, length);
  state->position += length;
}

// Reads up to the image data and sets the transforms that make every pixel 8-bit RGBA.
// No object with a destructor may live in this function: libpng may longjmp back into it.
bool readHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const png_byte colourType = png_get_color_type(png, info);
  png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);  // no-op when alpha is already there
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != png_size_t(*width) * 4) {
    png_error(png, "PNG did not convert to RGBA");
  }
  return true;
}

// Reads every row (all passes when interlaced) and the chunks after the image data.
bool readRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

struct PngReadDeleter {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReadDeleter() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  }
};

Status corrupt(const PngReadState& state) {
  return Status::Corrupt(std::string("PNG: ") + state.message);
}

}  // namespace

Result<Picture> decodePng(std::span<const uint8_t> bytes) {
  Result<PictureSize> declared = pictureSize(bytes);
  if (!declared.ok()) return declared.status();

  PngReadState state;
  state.data = bytes.data();
  state.size = bytes.size();

  PngReadDeleter handles;
  handles.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, onPngError, onPngWarning);
  if (handles.png == nullptr) return Status::IOError("PNG: cannot create a reader");
  handles.info = png_create_info_struct(handles.png);
  if (handles.info == nullptr) return Status::IOError("PNG: cannot create a reader");
  png_set_read_fn(handles.png, &state, readFromMemory);
  png_set_user_limits(handles.png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(handles.png, kMaxChunkBytes);

  png_uint_32 width = 0;
  png_uint_32 height = 0;
  if (!readHeader(handles.png, handles.info, &width, &height)) return corrupt(state);
  if (PictureSize{int(width), int(height)} != *declared) {
    return Status::Corrupt("PNG: decoded size differs from the header");
  }

  std::vector<uint8_t> pixels(size_t(width) * height * 4);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + size_t(y) * width * 4;
  if (!readRows(handles.png, handles.info, rows.data())) return corrupt(state);
  return Picture::create(int(width), int(height), std::move(pixels));
}

}  // namespace kinetra
