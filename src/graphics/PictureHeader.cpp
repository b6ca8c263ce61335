#include "graphics/PictureHeader.h"

#include <array>
#include <string>

namespace kinetra {

namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> prefix) {
  if (bytes.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (bytes[i] != prefix[i]) return false;
  }
  return true;
}

uint32_t bigEndian32(std::span<const uint8_t> bytes, size_t at) {
  return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) |
         (uint32_t(bytes[at + 2]) << 8) | uint32_t(bytes[at + 3]);
}

uint32_t bigEndian16(std::span<const uint8_t> bytes, size_t at) {
  return (uint32_t(bytes[at]) << 8) | uint32_t(bytes[at + 1]);
}

uint32_t littleEndian16(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t(bytes[at]) | (uint32_t(bytes[at + 1]) << 8);
}

Result<PictureSize> checked(int64_t width, int64_t height) {
  Status status = checkPictureSize(width, height);
  if (!status.ok()) return status;
  return PictureSize{int(width), int(height)};
}

// Signature, then the IHDR chunk: length 13, "IHDR", width, height (big-endian).
Result<PictureSize> pngSize(std::span<const uint8_t> bytes) {
  constexpr std::array<uint8_t, 4> kIhdr = {'I', 'H', 'D', 'R'};
  if (bytes.size() < 24) return Status::Corrupt("PNG header is truncated");
  if (bigEndian32(bytes, 8) != 13 || !startsWith(bytes.subspan(12), kIhdr)) {
    return Status::Corrupt("PNG does not start with an IHDR chunk");
  }
  const uint32_t width = bigEndian32(bytes, 16);
  const uint32_t height = bigEndian32(bytes, 20);
  // PNG caps both at 2^31 - 1; anything larger is malformed, not merely large.
  if (width > 0x7fffffffu || height > 0x7fffffffu) return Status::Corrupt("PNG size is invalid");
  return checked(width, height);
}

// Start-of-frame markers: C0-CF except DHT (C4), JPG (C8) and DAC (CC).
bool isStartOfFrame(uint8_t marker) {
  return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// Markers that stand alone, without a length: TEM, RST0-7, SOI.
bool isStandalone(uint8_t marker) { return marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8); }

Result<PictureSize> jpegSize(std::span<const uint8_t> bytes) {
  size_t at = 2;  // after SOI
  while (true) {
    if (at >= bytes.size() || bytes[at] != 0xff) {
      return Status::Corrupt("JPEG marker expected before the frame header");
    }
    while (at < bytes.size() && bytes[at] == 0xff) ++at;  // fill bytes
    if (at >= bytes.size()) return Status::Corrupt("JPEG header is truncated");
    const uint8_t marker = bytes[at++];
    if (marker == 0xd9 || marker == 0xda || marker == 0x00) {
      return Status::Corrupt("JPEG has no frame header before its image data");
    }
    if (isStandalone(marker)) continue;
    if (at + 2 > bytes.size()) return Status::Corrupt("JPEG header is truncated");
    const uint32_t length = bigEndian16(bytes, at);
    if (length < 2) return Status::Corrupt("JPEG segment length is invalid");
    if (isStartOfFrame(marker)) {
      // length, precision, height, width
      if (length < 7 || at + 7 > bytes.size()) return Status::Corrupt("JPEG frame is truncated");
      const uint32_t height = bigEndian16(bytes, at + 3);
      const uint32_t width = bigEndian16(bytes, at + 5);
      // A height of 0 defers it to a DNL marker after the first scan; not supported.
      return checked(width, height);
    }
    at += length;
  }
}

// "GIF8?a", then the logical screen's width and height (little-endian).
Result<PictureSize> gifSize(std::span<const uint8_t> bytes) {
  if (bytes.size() < 10) return Status::Corrupt("GIF header is truncated");
  return checked(littleEndian16(bytes, 6), littleEndian16(bytes, 8));
}

}  // namespace

PictureType sniffPictureType(std::span<const uint8_t> bytes) {
  constexpr std::array<uint8_t, 3> kJpeg = {0xff, 0xd8, 0xff};
  constexpr std::array<uint8_t, 6> kGif87 = {'G', 'I', 'F', '8', '7', 'a'};
  constexpr std::array<uint8_t, 6> kGif89 = {'G', 'I', 'F', '8', '9', 'a'};
  if (startsWith(bytes, kPngSignature)) return PictureType::kPng;
  if (startsWith(bytes, kJpeg)) return PictureType::kJpeg;
  if (startsWith(bytes, kGif87) || startsWith(bytes, kGif89)) return PictureType::kGif;
  return PictureType::kUnknown;
}

std::string_view mimeType(PictureType type) {
  switch (type) {
    case PictureType::kPng:
      return "image/png";
    case PictureType::kJpeg:
      return "image/jpeg";
    case PictureType::kGif:
      return "image/gif";
    case PictureType::kUnknown:
      break;
  }
  return "application/octet-stream";
}

Status checkPictureSize(int64_t width, int64_t height) {
  if (width < 1 || height < 1) {
    return Status::Corrupt("picture declares an empty size " + std::to_string(width) + "x" +
                           std::to_string(height));
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    return Status::TooLarge("picture of " + std::to_string(width) + "x" + std::to_string(height) +
                            " pixels is over the limit");
  }
  return Status::Ok();
}

Result<PictureSize> pictureSize(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxPictureBytes) {
    return Status::TooLarge("picture data of " + std::to_string(bytes.size()) +
                            " bytes is over the limit");
  }
  switch (sniffPictureType(bytes)) {
    case PictureType::kPng:
      return pngSize(bytes);
    case PictureType::kJpeg:
      return jpegSize(bytes);
    case PictureType::kGif:
      return gifSize(bytes);
    case PictureType::kUnknown:
      break;
  }
  return Status::Corrupt("not a PNG, JPEG or GIF picture");
}

}  // namespace kinetra
