#include "graphics/TestPictures.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string_view>

namespace kinetra::testing {

namespace {

void appendPng(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

size_t pngRowBytes(const PngSpec& recipe) {
  int channels = 1;
  if (recipe.colourType == PNG_COLOR_TYPE_RGB) channels = 3;
  if (recipe.colourType == PNG_COLOR_TYPE_RGB_ALPHA) channels = 4;
  if (recipe.colourType == PNG_COLOR_TYPE_GRAY_ALPHA) channels = 2;
  return (size_t(recipe.width) * size_t(channels) * size_t(recipe.bitDepth) + 7) / 8;
}

}  // namespace

// Test inputs are well formed, so libpng's and libjpeg's default error handlers (which abort
// the process) never run.
std::vector<uint8_t> makePng(const PngSpec& recipe) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, appendPng, nullptr);
  png_set_IHDR(png, info, png_uint_32(recipe.width), png_uint_32(recipe.height), recipe.bitDepth,
               recipe.colourType, recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!recipe.palette.empty()) {
    std::vector<png_color> colours(recipe.palette.size() / 3);
    for (size_t i = 0; i < colours.size(); ++i) {
      colours[i] = {recipe.palette[i * 3], recipe.palette[i * 3 + 1], recipe.palette[i * 3 + 2]};
    }
    png_set_PLTE(png, info, colours.data(), int(colours.size()));
  }
  if (!recipe.transparency.empty()) {
    png_set_tRNS(png, info, recipe.transparency.data(), int(recipe.transparency.size()), nullptr);
  }
  png_write_info(png, info);
  if (recipe.bitDepth == 16) png_set_swap(png);  // rows hold 16-bit samples little-endian
  const size_t stride = pngRowBytes(recipe);
  if (recipe.rows.size() != stride * size_t(recipe.height)) throw std::logic_error("bad PNG rows");
  std::vector<png_bytep> rows(size_t(recipe.height));
  for (size_t y = 0; y < rows.size(); ++y) {
    rows[y] = const_cast<png_bytep>(recipe.rows.data() + y * stride);
  }
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<uint8_t> makeJpeg(const JpegSpec& recipe) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(recipe.width);
  info.image_height = JDIMENSION(recipe.height);
  int components = 3;
  info.in_color_space = JCS_RGB;
  if (recipe.colours == JpegColours::kGray) components = 1, info.in_color_space = JCS_GRAYSCALE;
  if (recipe.colours == JpegColours::kAdobeCmyk) components = 4, info.in_color_space = JCS_CMYK;
  info.input_components = components;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, recipe.quality, TRUE);
  if (recipe.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const char comment[] = "made for a test";
  jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment), sizeof(comment));
  const size_t stride = size_t(recipe.width) * size_t(components);
  if (recipe.samples.size() != stride * size_t(recipe.height))
    throw std::logic_error("bad samples");
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPLE*>(recipe.samples.data() + info.next_scanline * stride);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

std::vector<uint8_t> quadrantRgb(int width, int height) {
  std::vector<uint8_t> samples;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool right = x >= width / 2;
      const bool bottom = y >= height / 2;
      uint8_t r = 255, g = 255, b = 255;  // bottom right: white
      if (!bottom && !right) g = 0, b = 0;
      if (!bottom && right) r = 0, b = 0;
      if (bottom && !right) r = 0, g = 0;
      samples.insert(samples.end(), {r, g, b});
    }
  }
  return samples;
}

void forgePngSize(std::vector<uint8_t>& png, uint32_t width, uint32_t height) {
  auto put = [&png](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) png[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
  };
  put(16, width);
  put(20, height);
  const uLong crc = crc32(0, png.data() + 12, 17);  // chunk type and data
  put(29, uint32_t(crc));
}

void forgeJpegSize(std::vector<uint8_t>& jpeg, uint16_t width, uint16_t height) {
  size_t at = 2;  // after SOI; segments follow until the frame header
  while (at + 9 < jpeg.size() && jpeg[at] == 0xff) {
    const uint8_t marker = jpeg[at + 1];
    if (marker == 0xc0 || marker == 0xc2) {
      jpeg[at + 5] = uint8_t(height >> 8);
      jpeg[at + 6] = uint8_t(height);
      jpeg[at + 7] = uint8_t(width >> 8);
      jpeg[at + 8] = uint8_t(width);
      return;
    }
    at += 2 + ((size_t(jpeg[at + 2]) << 8) | jpeg[at + 3]);
  }
  throw std::logic_error("no frame header");
}

std::vector<uint8_t> photoRgb(int width, int height, uint32_t seed) {
  std::minstd_rand random(seed);
  std::vector<uint8_t> samples;
  samples.reserve(size_t(width) * size_t(height) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int base[3] = {x * 200 / width, y * 200 / height, (x + y) * 100 / (width + height)};
      for (int c = 0; c < 3; ++c) samples.push_back(uint8_t(base[c] + int(random() % 48)));
    }
  }
  return samples;
}

std::vector<uint8_t> exifPayload(uint16_t orientation, ByteOrder order) {
  const bool intel = order == ByteOrder::kIntel;
  std::vector<uint8_t> out = {'E', 'x', 'i', 'f', 0, 0};
  auto put16 = [&](uint16_t v) {
    out.insert(out.end(), intel ? std::initializer_list<uint8_t>{uint8_t(v), uint8_t(v >> 8)}
                                : std::initializer_list<uint8_t>{uint8_t(v >> 8), uint8_t(v)});
  };
  auto put32 = [&](uint32_t v) {
    put16(uint16_t(intel ? v : v >> 16));
    put16(uint16_t(intel ? v >> 16 : v));
  };
  // TIFF header: byte order, 42, IFD0 right after the header.
  out.insert(out.end(), intel ? std::initializer_list<uint8_t>{'I', 'I'}
                              : std::initializer_list<uint8_t>{'M', 'M'});
  put16(42);
  put32(8);
  put16(3);
  // Make: ASCII, 6 bytes, stored after the IFD (offset 8 + 2 + 3 × 12 + 4 = 50).
  put16(0x010f), put16(2), put32(6), put32(50);
  // Orientation: one SHORT, left-justified in the value field.
  put16(0x0112), put16(3), put32(1), put16(orientation), put16(0);
  // Resolution unit: one SHORT, inches.
  put16(0x0128), put16(3), put32(1), put16(2), put16(0);
  put32(0);  // no IFD1
  for (char c : std::string_view("Phone", 6)) out.push_back(uint8_t(c));
  return out;
}

std::vector<uint8_t> withApp1(std::vector<uint8_t> jpeg, std::span<const uint8_t> payload) {
  const size_t length = payload.size() + 2;
  if (length > 0xffff || jpeg.size() < 2) throw std::logic_error("bad APP1 segment");
  std::vector<uint8_t> segment = {0xff, 0xe1, uint8_t(length >> 8), uint8_t(length)};
  segment.insert(segment.end(), payload.begin(), payload.end());
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
  return jpeg;
}

}  // namespace kinetra::testing
