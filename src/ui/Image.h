#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Geometry.h"

namespace kinetra {

class ResourceBundle;

// A picture as the toolkit holds it: the encoded bytes of a PNG, JPEG or GIF file and the size
// its header declares (one pixel is one point). The toolkit never decodes pixels; the screen
// draws the bytes, and code that needs pixels decodes them with the graphics layer.
//
// A value type; copies share the bytes. The default image is empty, and so is every image whose
// source is missing, unreadable, too large or not a picture: a missing picture leaves its view
// empty and is never an error.
class Image {
 public:
  Image() = default;

  // The bytes of a picture file; the type is judged by content, never by name.
  static Image fromBytes(std::vector<std::uint8_t> bytes);
  // initWithContentsOfFile: the file at `path` (a bundle resource or a documents file).
  static Image contentsOfFile(const std::filesystem::path& path);
  // pathForResource:ofType: then initWithContentsOfFile: — the bundle picture `name`.`type`.
  static Image resource(const ResourceBundle& bundle, std::string_view name, std::string_view type);
  // imageNamed: — a bundle picture named with its extension ("Chest.jpg").
  static Image named(const ResourceBundle& bundle, std::string_view fileName);

  bool empty() const { return data_ == nullptr; }
  // Width and height in points; zero for an empty image.
  Size size() const;
  // The encoded bytes; empty for an empty image.
  const std::vector<std::uint8_t>& bytes() const;
  std::shared_ptr<const std::vector<std::uint8_t>> sharedBytes() const;
  // A digest of the bytes: equal pictures have equal identifiers, so the screen can cache them.
  // 0 for an empty image.
  std::uint64_t identifier() const;

  // True when both are empty or both hold the same bytes.
  friend bool operator==(const Image& a, const Image& b);

 private:
  struct Data;
  std::shared_ptr<const Data> data_;
};

}  // namespace kinetra
