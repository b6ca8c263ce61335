#include "shell/PictureStore.h"

#include <algorithm>
#include <utility>

namespace kinetra {

void PictureStore::add(const PictureDescription& picture) {
  if (picture.identifier == 0 || picture.bytes == nullptr) return;
  auto [it, inserted] = entries_.try_emplace(picture.identifier);
  if (inserted) {
    it->second.bytes = picture.bytes;
    totalBytes_ += picture.bytes->size();
  }
  it->second.lastFrame = frame_;
}

void PictureStore::trim() {
  if (totalBytes_ <= budget_) return;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> old;  // last frame, identifier
  for (const auto& [identifier, entry] : entries_) {
    if (entry.lastFrame != frame_) old.emplace_back(entry.lastFrame, identifier);
  }
  std::sort(old.begin(), old.end());
  for (const auto& [lastFrame, identifier] : old) {
    if (totalBytes_ <= budget_) break;
    const auto it = entries_.find(identifier);
    if (it == entries_.end() || it->second.bytes == nullptr) continue;
    totalBytes_ -= it->second.bytes->size();
    entries_.erase(it);
  }
}

std::shared_ptr<const std::vector<std::uint8_t>> PictureStore::find(
    std::uint64_t identifier) const {
  const auto it = entries_.find(identifier);
  return it == entries_.end() ? nullptr : it->second.bytes;
}

std::string PictureStore::identifierText(std::uint64_t identifier) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kHex[identifier & 0xF];
    identifier >>= 4;
  }
  return text;
}

std::optional<std::uint64_t> PictureStore::parseIdentifier(std::string_view text) {
  if (text.size() != 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(digit);
  }
  return value;
}

}  // namespace kinetra
