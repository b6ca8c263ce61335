#include "graphics/JpegDecoder.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

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

// Reads the header, chooses the output colour space and starts decompression (which, for a
// progressive file, reads every scan).
bool startDecompressor(JpegState* state, const uint8_t* data, size_t size) {
  j_decompress_ptr info = &state->decompressor;
  if (setjmp(state->jump)) return false;
  jpeg_mem_src(info, data, size);
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

}  // namespace

Result<Picture> decodeJpeg(std::span<const uint8_t> bytes) {
  Result<PictureSize> declared = pictureSize(bytes);
  if (!declared.ok()) return declared.status();

  JpegState state;
  std::memset(&state, 0, sizeof(state));
  if (!createDecompressor(&state)) return failure(state);
  DecompressorGuard guard{&state};
  if (!startDecompressor(&state, bytes.data(), bytes.size())) return failure(state);

  const jpeg_decompress_struct& info = state.decompressor;
  if (int(info.output_width) != declared->width || int(info.output_height) != declared->height ||
      info.output_components != 4) {
    return Status::Corrupt("JPEG: decoded size differs from the header");
  }
  const size_t stride = size_t(info.output_width) * 4;
  std::vector<uint8_t> pixels(stride * info.output_height);
  if (!readScanlines(&state, pixels.data(), stride)) return failure(state);
  if (isCmyk(info.jpeg_color_space)) cmykToRgba(pixels, info.saw_Adobe_marker != 0);
  return Picture::create(declared->width, declared->height, std::move(pixels));
}

}  // namespace kinetra
