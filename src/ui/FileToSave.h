#pragma once

#include <cstdint>
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
};

}  // namespace kinetra
