#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "support/TestCertificates.h"

namespace kinetra::testing {

// The server's side of one accepted connection. Every call blocks the server thread for at
// most the server's time bound and reports failure instead of hanging.
class PeerConnection {
 public:
  struct TlsSettings {
    TlsIdentity identity;
    // 0 leaves the version range alone; otherwise the newest version offered, e.g.
    // TLS1_1_VERSION (with the security level lowered so old versions are possible at all).
    int maxVersion = 0;
  };

  virtual ~PeerConnection() = default;

  virtual bool write(std::string_view bytes) = 0;
  // Exactly `count` bytes, or nullopt on end, error or time-out.
  virtual std::optional<std::string> readExactly(std::size_t count) = 0;
  // Everything up to and including `delimiter`; bytes after it stay for the next read.
  virtual std::optional<std::string> readUntil(std::string_view delimiter) = 0;
  // Reads until the client closes; true when it did so within the bound.
  virtual bool readUntilClosed() = 0;
  // Runs a server-side TLS handshake on the connection; true when it succeeded.
  virtual bool acceptTls(const TlsSettings& settings) = 0;
  virtual void close() = 0;
};

// A TCP server on 127.0.0.1 and a free port that accepts one client and runs `script` against
// it on a thread of its own (with its own io_context), for stream tests. The script gets no
// connection (null) when no client came within the bound.
class LoopbackServer {
 public:
  using Script = std::function<void(PeerConnection*)>;

  explicit LoopbackServer(Script script, double boundSeconds = 10);
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;
  // Calls off whatever the server is waiting for, then waits for the thread.
  ~LoopbackServer();

  std::uint16_t port() const { return port_; }
  // True once the script has returned; readable from any thread.
  bool finished() const { return finished_.load(); }
  // Waits for the script to return by itself. Afterwards its results are safe to read.
  void join();

  // A port on 127.0.0.1 where nothing listens (it was free a moment ago).
  static std::uint16_t unusedPort();

 private:
  struct Impl;

  std::unique_ptr<Impl> impl_;
  std::uint16_t port_ = 0;
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// Connects to 127.0.0.1:`port` as a TLS client that offers no version newer than `maxVersion`
// (e.g. TLS1_1_VERSION) at security level 0, without verifying, and reports whether the
// handshake succeeded: whether a server limited to old versions can be set up here at all.
bool legacyTlsHandshakeSucceeds(std::uint16_t port, int maxVersion);

}  // namespace kinetra::testing
