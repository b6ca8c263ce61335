#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kinetra::testing {

// A browser's WebSocket for tests, on its own io_context; every call gives up after a bound
// instead of hanging.
class WebSocketTestClient {
 public:
  WebSocketTestClient();
  ~WebSocketTestClient();
  WebSocketTestClient(const WebSocketTestClient&) = delete;
  WebSocketTestClient& operator=(const WebSocketTestClient&) = delete;

  struct Handshake {
    std::string host = "127.0.0.1";
    std::optional<std::string> origin;  // none: no Origin header
    std::string target = "/ws";
    std::string cookie;
    int receiveBufferBytes = 0;  // 0: the system's, growing as it likes
  };
  // True when the server accepted the upgrade; otherwise refusedStatus() tells its HTTP status
  // (0 when the connection failed before any answer).
  bool connect(std::uint16_t port, const Handshake& handshake);
  int refusedStatus() const { return refusedStatus_; }

  bool write(const std::string& message);
  // The next message; nothing on time-out or a closed connection.
  std::optional<std::string> read(double seconds = 5);
  // Reads until the server ends the connection; true when it did within the bound.
  bool closedByServer(double seconds = 5);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int refusedStatus_ = 0;
};

}  // namespace kinetra::testing
