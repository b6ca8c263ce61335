#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/ScreenDescription.h"

namespace kinetra {

// The pictures the browsers were told about, by identifier, so the client can fetch them from
// /pictures/<identifier>. Pictures of the newest frame always stay; older ones are dropped,
// least recently shown first, once the store holds more than its byte budget.
class PictureStore {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = 64 * 1024 * 1024;

  explicit PictureStore(std::size_t budgetBytes = kDefaultBudgetBytes) : budget_(budgetBytes) {}

  // Starts a frame: pictures added from now on belong to it.
  void beginFrame() { ++frame_; }
  // Keeps the picture (equal identifiers mean equal bytes) and marks it as shown now.
  void add(const PictureDescription& picture);
  // Drops older pictures until the budget holds (the newest frame's are never dropped).
  void trim();

  std::shared_ptr<const std::vector<std::uint8_t>> find(std::uint64_t identifier) const;
  std::size_t size() const { return entries_.size(); }
  std::size_t totalBytes() const { return totalBytes_; }

  // 16 lowercase hex digits; the name of the picture's route.
  static std::string identifierText(std::uint64_t identifier);
  static std::optional<std::uint64_t> parseIdentifier(std::string_view text);

 private:
  struct Entry {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    std::uint64_t lastFrame = 0;
  };

  std::unordered_map<std::uint64_t, Entry> entries_;
  std::size_t budget_;
  std::size_t totalBytes_ = 0;
  std::uint64_t frame_ = 0;
};

}  // namespace kinetra
