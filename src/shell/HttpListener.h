#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/RunLoop.h"
#include "foundation/Status.h"
#include "foundation/Timer.h"

namespace kinetra {

struct ShellCore;

// Accepts TCP connections on one address and hands each to a new HTTP session. Lives as long
// as its pending accept; stop() ends it. Run-loop thread only.
//
// When accepting fails for want of descriptors, the oldest connection that has not passed the
// access policy is closed to make room and the accept is tried again at once; when there is none
// (or for other errors) the next attempt waits the shell's acceptRetrySeconds. A run of failures
// is logged once when it starts and once when accepting works again.
class HttpListener : public std::enable_shared_from_this<HttpListener> {
 public:
  // Binds and listens (port 0: any free port). IOError when the address cannot be bound.
  static Result<std::shared_ptr<HttpListener>> open(RunLoop& loop, const std::string& address,
                                                    std::uint16_t port);
  ~HttpListener();

  std::uint16_t port() const { return port_; }
  // Starts accepting for `core`'s shell.
  void start(std::weak_ptr<ShellCore> core);
  void stop();

 private:
  struct Impl;
  explicit HttpListener(std::unique_ptr<Impl> impl);
  void doAccept();

  std::unique_ptr<Impl> impl_;
  std::uint16_t port_ = 0;
};

}  // namespace kinetra
