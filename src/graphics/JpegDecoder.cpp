#include "graphics/JpegDecoder.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "graphics/ExifOrientation.h"
#include "graphics/PictureHeader.h"

namespace kinetra {

namespace {

constexpr int kMaxScans = 100;                  // a scan-bomb costs a full pass per scan
constexpr long kMaxDecoderMemory = 512L << 20;  // bytes libjpeg may allocate

// Everything libjpeg and our callbacks touch. Trivially destructible on purpose: errors leave
// libjpeg by longjmp, which must not skip a destructor.
struct JpegState {
  jpeg_decompress_struct decompressor;
  jpeg_error_mgr errors;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  bool tooManyScans;
  char message[JMSG_LENGTH_MAX];
};

JpegState* stateOf(j_common_ptr info) { return static_cast<JpegState*>(info->client_data); }

[[noreturn]] void onJpegError(j_common_ptr info) {
  JpegState* state = stateOf(info);
  info->err->format_message(info, state->message);
  std::longjmp(state->jump, 1);
}

// Warnings about damaged data become errors: libjpeg would otherwise fill the missing part
// with gray and report success. Harmless ones (stray bytes between markers) stay quiet.
bool isDamage(int code) {
  return code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE ||
         code == JWRN_MUST_RESYNC || code == JWRN_NOT_SEQUENTIAL ||
         code == JWRN_BOGUS_PROGRESSION || code == JWRN_ARITH_BAD_CODE;
}

void onJpegMessage(j_common_ptr info, int level) {
  if (level < 0 && isDamage(info->err->msg_code)) onJpegError(info);
}

void onJpegProgress(j_common_ptr info) {
  JpegState* state = stateOf(info);
  if (state->decompressor.input_scan_number > kMaxScans) {
    state->tooManyScans = true;
    std::snprintf(state->message, sizeof(state->message), "more than %d scans", kMaxScans);
    std::longjmp(state->jump, 1);
  }
}

// The functions below call into libjpeg, which may longjmp back to their setjmp. None of
// them may hold an object with a destructor.

bool createDecompressor(JpegState* state) {
  state->decompressor.err = jpeg_std_error(&state->errors);
  state->errors.error_exit = onJpegError;
  state->errors.emit_message = onJpegMessage;
  state->decompressor.client_data = state;
  if (setjmp(state->jump)) return false;
  jpeg_create_decompress(&state->decompressor);
  state->decompressor.mem->max_memory_to_use = kMaxDecoderMemory;
  state->progress.progress_monitor = onJpegProgress;
  state->decompressor.progress = &state->progress;
  return true;
}

bool isCmyk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// Reads the header (keeping the APP1 segments, where a camera writes its EXIF block) and
// chooses the output colour space.
bool readHeader(JpegState* state, const uint8_t* data, size_t size) {
  j_decompress_ptr info = &state->decompressor;
  if (setjmp(state->jump)) return false;
  jpeg_mem_src(info, data, size);
  jpeg_save_markers(info, JPEG_APP0 + 1, 0xffff);
  jpeg_read_header(info, TRUE);
  switch (info->jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      info->out_color_space = JCS_EXT_RGBA;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      info->out_color_space = JCS_CMYK;
      break;
    default:
      std::snprintf(state->message, sizeof(state->message), "unsupported colour space %d",
                    int(info->jpeg_color_space));
      return false;
  }
  return true;
}

// Starts decompression at 1/denominator of the full size (which, for a progressive file, reads
// every scan).
bool startDecompressor(JpegState* state, unsigned denominator) {
  j_decompress_ptr info = &state->decompressor;
  if (setjmp(state->jump)) return false;
  info->scale_num = 1;
  info->scale_denom = denominator;
  jpeg_start_decompress(info);
  return true;
}

bool readScanlines(JpegState* state, uint8_t* pixels, size_t stride) {
  j_decompress_ptr info = &state->decompressor;
  if (setjmp(state->jump)) return false;
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = pixels + size_t(info->output_scanline) * stride;
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  return true;
}

struct DecompressorGuard {
  JpegState* state = nullptr;
  ~DecompressorGuard() {
    if (state != nullptr) jpeg_destroy_decompress(&state->decompressor);
  }
};

// CMYK samples to opaque RGB in place. Adobe's files store the inks inverted (0 = full ink).
void cmykToRgba(std::vector<uint8_t>& pixels, bool inverted) {
  for (size_t i = 0; i < pixels.size(); i += 4) {
    unsigned c = pixels[i], m = pixels[i + 1], y = pixels[i + 2], k = pixels[i + 3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    pixels[i] = uint8_t((c * k + 127) / 255);
    pixels[i + 1] = uint8_t((m * k + 127) / 255);
    pixels[i + 2] = uint8_t((y * k + 127) / 255);
    pixels[i + 3] = 255;
  }
}

Status failure(const JpegState& state) {
  std::string message = std::string("JPEG: ") + state.message;
  if (state.tooManyScans) return Status::TooLarge(message);
  return Status::Corrupt(message);
}

unsigned scaledSide(int side, unsigned denominator) {
  return (unsigned(side) + denominator - 1) / denominator;  // libjpeg rounds up
}

// The largest of libjpeg's reductions (1/8, 1/4, 1/2) whose output still covers `needed` in
// both sides, or 1 when none does.
unsigned scaleDenominator(PictureSize stored, PictureSize needed) {
  for (unsigned denominator : {8u, 4u, 2u}) {
    if (scaledSide(stored.width, denominator) >= unsigned(std::max(needed.width, 1)) &&
        scaledSide(stored.height, denominator) >= unsigned(std::max(needed.height, 1))) {
      return denominator;
    }
  }
  return 1;
}

// The orientation of the first saved APP1 segment that holds an EXIF block.
ExifOrientation savedOrientation(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next) {
    if (m->marker != JPEG_APP0 + 1) continue;
    const std::span<const uint8_t> payload(m->data, m->data_length);
    if (holdsExif(payload)) return readExifOrientation(payload);
  }
  return ExifOrientation::kUpright;
}

struct StoredPixels {
  Picture picture;  // in stored order
  ExifOrientation orientation = ExifOrientation::kUpright;
};

// Decodes the pixels at the smallest scale whose output, once upright, still covers
// `uprightMinimum`; at full size without one.
Result<StoredPixels> decodeStored(std::span<const uint8_t> bytes,
                                  std::optional<PictureSize> uprightMinimum) {
  Result<PictureSize> declared = pictureSize(bytes);
  if (!declared.ok()) return declared.status();

  JpegState state;
  std::memset(&state, 0, sizeof(state));
  if (!createDecompressor(&state)) return failure(state);
  DecompressorGuard guard{&state};
  if (!readHeader(&state, bytes.data(), bytes.size())) return failure(state);

  const jpeg_decompress_struct& info = state.decompressor;
  if (int(info.image_width) != declared->width || int(info.image_height) != declared->height) {
    return Status::Corrupt("JPEG: frame size differs from the header");
  }
  const ExifOrientation orientation = savedOrientation(info);
  // Swapping the sides of the upright minimum gives the stored one.
  const unsigned denominator =
      uprightMinimum ? scaleDenominator(*declared, uprightSize(*uprightMinimum, orientation)) : 1;
  if (!startDecompressor(&state, denominator)) return failure(state);
  if (info.output_width != scaledSide(declared->width, denominator) ||
      info.output_height != scaledSide(declared->height, denominator) ||
      info.output_components != 4) {
    return Status::Corrupt("JPEG: decoded size differs from the header");
  }
  const size_t stride = size_t(info.output_width) * 4;
  std::vector<uint8_t> pixels(stride * info.output_height);
  if (!readScanlines(&state, pixels.data(), stride)) return failure(state);
  if (isCmyk(info.jpeg_color_space)) cmykToRgba(pixels, info.saw_Adobe_marker != 0);
  Result<Picture> picture =
      Picture::create(int(info.output_width), int(info.output_height), std::move(pixels));
  if (!picture.ok()) return picture.status();
  return StoredPixels{std::move(*picture), orientation};
}

}  // namespace

Result<Picture> decodeJpeg(std::span<const uint8_t> bytes) {
  Result<StoredPixels> decoded = decodeStored(bytes, std::nullopt);
  if (!decoded.ok()) return decoded.status();
  return std::move(decoded->picture);
}

Result<Picture> decodeJpegUpright(std::span<const uint8_t> bytes, PictureSize minimum) {
  Result<StoredPixels> decoded = decodeStored(bytes, minimum);
  if (!decoded.ok()) return decoded.status();
  return orientPicture(std::move(decoded->picture), decoded->orientation);
}

}  // namespace kinetra
