#include "shell/UnauthenticatedConnections.h"

#include <utility>

namespace kinetra {

std::uint64_t UnauthenticatedConnections::admit(Drop drop) {
  while (connections_.size() >= capacity_) dropOldest();
  const std::uint64_t key = nextKey_++;
  connections_.emplace(key, std::move(drop));
  return key;
}

void UnauthenticatedConnections::remove(std::uint64_t key) { connections_.erase(key); }

bool UnauthenticatedConnections::dropOldest() {
  if (connections_.empty()) return false;
  // Forgotten before it is closed: closing tells this registry again (remove), which must not
  // find it.
  Drop drop = std::move(connections_.begin()->second);
  connections_.erase(connections_.begin());
  if (drop) drop();
  return true;
}

}  // namespace kinetra
