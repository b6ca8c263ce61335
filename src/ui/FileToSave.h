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
  // Gives a file's bytes in order, a piece at each call; an empty piece ends them.
  using Pieces = std::function<std::vector<std::uint8_t>()>;

  std::string name;
  std::string contentType;
  std::shared_ptr<const std::vector<std::uint8_t>> bytes;
  // Used when `bytes` is null: starts the file's making each time it is fetched, on the run
  // loop's thread, and the pieces are then made as they are sent. A large file so costs nothing
  // until it is wanted and no more than a piece while it is sent. What it refers to must outlive
  // the offer.
  std::function<Pieces()> open;

  // The whole of the bytes, kept or made; null when there are neither.
  std::shared_ptr<const std::vector<std::uint8_t>> contents() const {
    if (bytes != nullptr || !open) return bytes;
    std::vector<std::uint8_t> whole;
    Pieces pieces = open();
    for (std::vector<std::uint8_t> piece = pieces(); !piece.empty(); piece = pieces()) {
      whole.insert(whole.end(), piece.begin(), piece.end());
    }
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(whole));
  }
};

}  // namespace kinetra
