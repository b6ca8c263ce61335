#pragma once

namespace kinetra {

class Stream;

// What a stream tells its delegate, always on the run loop and never from inside a call the
// delegate made on the stream.
enum class StreamEvent {
  kOpenCompleted,      // connected; writes go out from now on
  kHasBytesAvailable,  // read() has bytes; told again after a read that leaves some, or on more
  // The peer closed its side and every received byte was offered. Over TLS a hang-up without
  // close_notify counts too: the protocols on these streams frame their own messages.
  kEndEncountered,
  kErrorOccurred,   // the stream failed; Stream::error() says why. Nothing follows.
  kTlsEstablished,  // the in-place TLS upgrade completed; the peer's certificate was accepted
};

// Receives a stream's events. The stream does not own its delegate; it never calls the
// delegate after Stream::close() or the stream's destruction, so a delegate that owns its
// stream may close or destroy it from inside handleEvent().
class StreamDelegate {
 public:
  virtual ~StreamDelegate() = default;
  virtual void handleEvent(Stream& stream, StreamEvent event) = 0;
};

}  // namespace kinetra
