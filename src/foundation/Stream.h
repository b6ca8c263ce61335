#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "foundation/Status.h"
#include "foundation/StreamDelegate.h"
#include "foundation/TlsOptions.h"

namespace kinetra {

class RunLoop;

// A bidirectional TCP connection to a host name and port, driven by the run loop: resolving,
// connecting, reading and writing all happen asynchronously and are reported to the delegate
// as events (see StreamEvent). The open connection can be upgraded to TLS in place, as
// STARTTLS needs.
//
// Received bytes are buffered by the stream (at most a few tens of KiB; reading from the socket
// pauses while the buffer is full) and handed out by read(). Writes are queued and each is
// written whole, in order.
//
// Lifetime: the stream must be destroyed before its run loop. Destroying it closes it; pending
// operations then finish harmlessly and no event is delivered. Not thread-safe: used on the
// run loop's thread only.
class Stream {
 public:
  enum class State {
    kNotOpen,  // open() not called yet
    kOpening,  // resolving and connecting
    kOpen,
    kAtEnd,   // the peer closed its side; writing may still work
    kClosed,  // close() was called
    kError,   // failed; see error()
  };

  // Nothing happens until open(). `delegate` may be null and set later; it is not owned.
  Stream(RunLoop& loop, std::string hostName, std::uint16_t port,
         StreamDelegate* delegate = nullptr);
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  ~Stream();

  void setDelegate(StreamDelegate* delegate);

  // Starts resolving and connecting; ends in kOpenCompleted or kErrorOccurred, delivered later
  // on the loop. An empty host name, one with a NUL character or over 253 characters, and port
  // 0 fail with an invalid-argument error event; an unknown host with not-found; a refused or
  // unreachable peer with a network error. Calls after the first are ignored.
  void open();

  // Moves up to buffer.size() received bytes into `buffer`; returns how many (0 when none are
  // buffered or the stream is closed).
  std::size_t read(std::span<char> buffer);
  bool hasBytesAvailable() const;
  // Drops every received byte not yet read, e.g. plaintext that arrived after a STARTTLS reply.
  void discardBufferedInput();

  // Queues `bytes` to be written whole after everything queued before; a failure becomes a
  // kErrorOccurred event. Writes made before kOpenCompleted go out once connected; writes made
  // during a TLS upgrade go out encrypted once it completes. Returns false (and writes nothing)
  // when the stream is closed or failed.
  bool write(std::string_view bytes);

  // Upgrades the open connection to TLS over the same socket. Bytes already queued for writing
  // go out in the clear first; every received byte not yet read is discarded, as is anything
  // else that arrives in the clear, since a peer must send nothing between its go-ahead and the
  // handshake. Ends in kTlsEstablished, or kErrorOccurred with a TLS error (the connection is
  // then closed). Returns false and does nothing when the stream is not open, already secure or
  // upgrading, or when options.caFile or the TLS library (opened on the first upgrade) cannot be
  // loaded.
  bool startTls(const TlsOptions& options);
  bool isSecure() const;

  // Closes the connection at once. Idempotent; no event is delivered after it.
  void close();

  State state() const;
  // Why the stream failed; ok unless state() is kError.
  Status error() const;

  const std::string& hostName() const { return hostName_; }
  std::uint16_t port() const { return port_; }

 private:
  class Connection;

  std::string hostName_;
  std::uint16_t port_;
  std::shared_ptr<Connection> connection_;
};

}  // namespace kinetra
