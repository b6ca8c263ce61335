#include "ui/Image.h"

#include <fstream>
#include <span>
#include <system_error>

#include "foundation/ResourceBundle.h"
#include "graphics/PictureHeader.h"

namespace kinetra {

struct Image::Data {
  std::shared_ptr<const std::vector<std::uint8_t>> bytes;
  Size size;
  std::uint64_t identifier = 0;
};

namespace {

// FNV-1a, 64 bits.
std::uint64_t digest(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash == 0 ? 1 : hash;
}

}  // namespace

Image Image::fromBytes(std::vector<std::uint8_t> bytes) {
  const Result<PictureSize> header = pictureSize(std::span<const std::uint8_t>(bytes));
  if (!header.ok()) return {};
  auto data = std::make_shared<Data>();
  data->size = {static_cast<double>(header->width), static_cast<double>(header->height)};
  data->identifier = digest(bytes);
  data->bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
  Image image;
  image.data_ = std::move(data);
  return image;
}

Image Image::contentsOfFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  const auto fileSize = std::filesystem::file_size(path, error);
  if (error || fileSize > kMaxPictureBytes) return {};
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fileSize));
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (file.gcount() != static_cast<std::streamsize>(bytes.size())) return {};
  return fromBytes(std::move(bytes));
}

Image Image::resource(const ResourceBundle& bundle, std::string_view name, std::string_view type) {
  const auto path = bundle.pathForResource(name, type);
  return path ? contentsOfFile(*path) : Image();
}

Image Image::named(const ResourceBundle& bundle, std::string_view fileName) {
  const auto dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return resource(bundle, fileName, "png");
  return resource(bundle, fileName.substr(0, dot), fileName.substr(dot + 1));
}

Size Image::size() const { return data_ ? data_->size : Size{}; }

const std::vector<std::uint8_t>& Image::bytes() const {
  static const std::vector<std::uint8_t> kNone;
  return data_ ? *data_->bytes : kNone;
}

std::shared_ptr<const std::vector<std::uint8_t>> Image::sharedBytes() const {
  return data_ ? data_->bytes : nullptr;
}

std::uint64_t Image::identifier() const { return data_ ? data_->identifier : 0; }

bool operator==(const Image& a, const Image& b) {
  if (a.data_ == b.data_) return true;
  if (!a.data_ || !b.data_) return false;
  return a.data_->identifier == b.data_->identifier && *a.data_->bytes == *b.data_->bytes;
}

}  // namespace kinetra
