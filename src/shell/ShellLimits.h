#pragma once

#include <cstddef>

namespace kinetra {

// The limits every connection of the web shell is held to. Times are run-loop seconds.
struct ShellLimits {
  std::size_t maxHeaderBytes = 16 * 1024;
  std::size_t maxWebSocketMessageBytes = 1024 * 1024;
  // Photos; and files chosen in a document picker (a whole log as CSV).
  std::size_t maxUploadBytes = 20 * 1024 * 1024;
  std::size_t maxDocumentBytes = 32 * 1024 * 1024;
  // Bodies of requests other than uploads (there is no reason for any).
  std::size_t maxOtherBodyBytes = 16 * 1024;
  // An HTTP connection that makes no progress for this long is closed: no request after the
  // last answer, no bytes of a body while one is read, no bytes taken while an answer is
  // written. A body that keeps coming is read however long it takes. A WebSocket that has been
  // silent this long is pinged, and closed when a second period passes without an answer.
  double idleSeconds = 30;
  // A connection that has not yet passed the access policy (no valid token yet; on loopback
  // without a token, no complete request yet) costs a descriptor and proves nothing: at most
  // this many are kept, and one more drops the oldest. When descriptors run out, the oldest of
  // them is dropped to make room too.
  std::size_t maxUnauthenticatedConnections = 256;
  // Such a connection must have sent its first request's header this soon after it was
  // accepted; it is closed otherwise, progress or not.
  double headerSeconds = 10;
  // When accepting fails and no such connection is left to drop (out of descriptors, say),
  // the listener waits this long before it tries again.
  double acceptRetrySeconds = 0.25;
  // Frames waiting for a browser that reads slowly: beyond this, waiting frames are replaced by
  // the newest (each frame is the whole screen).
  std::size_t maxQueuedFrames = 2;
};

}  // namespace kinetra
