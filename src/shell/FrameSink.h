#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kinetra {

// A browser connection as the screen hub sees it: somewhere to send frames. Implemented by the
// WebSocket session; everything runs on the run loop's thread.
class FrameSink {
 public:
  virtual ~FrameSink() = default;

  // Queues the frame (shared by every browser); never blocks. The sink adds the number of the
  // last event it acknowledged.
  virtual void sendFrame(std::shared_ptr<const std::string> frame) = 0;
  // Queues a message that is not a screen (a file offered to save, a vibration): a newer frame
  // never replaces it. The sink adds the acknowledged number as to a frame.
  virtual void sendMessage(std::shared_ptr<const std::string> message) = 0;
  // The client's number of the last event of this connection that was carried out.
  virtual void acknowledge(std::int64_t sequence) = 0;
  // Ends the connection now.
  virtual void close() = 0;
};

}  // namespace kinetra
