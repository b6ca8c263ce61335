#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>

namespace kinetra {

// The shell's connections that have not yet passed the access policy, oldest first. Strangers
// can open as many of these as they like; keeping at most `capacity` of them, and dropping the
// oldest first when descriptors run out, leaves room for the token holder's own connections.
// A connection leaves when it passes the policy or closes. Run-loop thread only.
class UnauthenticatedConnections {
 public:
  // Closes the connection at once (its descriptor is free when this returns).
  using Drop = std::function<void()>;

  explicit UnauthenticatedConnections(std::size_t capacity)
      : capacity_(capacity == 0 ? 1 : capacity) {}
  UnauthenticatedConnections(const UnauthenticatedConnections&) = delete;
  UnauthenticatedConnections& operator=(const UnauthenticatedConnections&) = delete;

  // Registers a new connection and returns its key; when `capacity` are registered already, the
  // oldest is dropped first.
  std::uint64_t admit(Drop drop);
  // The connection passed the policy or closed; harmless for a key no longer registered.
  void remove(std::uint64_t key);
  // Drops the oldest connection; false when none is registered.
  bool dropOldest();

  std::size_t size() const { return connections_.size(); }

 private:
  std::size_t capacity_;
  std::map<std::uint64_t, Drop> connections_;  // keys grow with age: the first is the oldest
  std::uint64_t nextKey_ = 1;
};

}  // namespace kinetra
