#pragma once

#include <cstddef>

namespace kinetra {

// The limits every connection of the web shell is held to.
struct ShellLimits {
  std::size_t maxHeaderBytes = 16 * 1024;
  std::size_t maxWebSocketMessageBytes = 1024 * 1024;
  std::size_t maxUploadBytes = 20 * 1024 * 1024;
  // Bodies of requests other than uploads (there is no reason for any).
  std::size_t maxOtherBodyBytes = 16 * 1024;
  // An HTTP connection with no request (or no progress writing) for this long is closed; a
  // WebSocket that has been silent this long is pinged, and closed when a second period passes
  // without an answer. Run-loop seconds.
  double idleSeconds = 30;
  // Frames waiting for a browser that reads slowly: beyond this, waiting frames are replaced by
  // the newest (each frame is the whole screen).
  std::size_t maxQueuedFrames = 2;
};

}  // namespace kinetra
