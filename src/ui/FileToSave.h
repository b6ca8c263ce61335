#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kinetra {

// A file a screen hands the user to keep (the device's share sheet; a browser's download): its
// suggested name, its media type and its bytes. A plain value; the bytes are shared, not copied.
struct FileToSave {
  std::string name;
  std::string contentType;
  std::shared_ptr<const std::vector<std::uint8_t>> bytes;
  // Used when `bytes` is null: makes the bytes each time the file is fetched, on the run loop's
  // thread. A large file then costs nothing until it is wanted and is not kept afterwards; it
  // holds the data as they are at the fetch, which follows the offer at once. What it refers to
  // must outlive the offer.
  std::function<std::vector<std::uint8_t>()> make;

  // The bytes, kept or made; null when there are neither.
  std::shared_ptr<const std::vector<std::uint8_t>> contents() const {
    if (bytes != nullptr || !make) return bytes;
    return std::make_shared<const std::vector<std::uint8_t>>(make());
  }
};

}  // namespace kinetra
