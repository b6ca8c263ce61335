#include "shell/HttpListener.h"

#pragma GCC diagnostic ignored "-Wnull-dereference"  // inside Asio, once inlined

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <string>

#include "shell/HttpSession.h"
#include "shell/ShellCore.h"

namespace kinetra {

using tcp = boost::asio::ip::tcp;

namespace {

// The errors that mean "no descriptor or buffer for one more connection".
bool isOutOfResources(const boost::system::error_code& error) {
  return error == boost::asio::error::no_descriptors ||
         error == boost::system::errc::too_many_files_open_in_system ||
         error == boost::asio::error::no_buffer_space || error == boost::asio::error::no_memory;
}

std::string secondsText(double seconds) {
  std::string text = std::to_string(seconds);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

struct HttpListener::Impl {
  Impl(RunLoop& runLoop) : loop(runLoop), acceptor(runLoop.ioContext()) {}

  void accepted(tcp::socket socket);
  // True when the next accept may start at once; otherwise it waits for `retry`.
  bool acceptFailed(const boost::system::error_code& error);

  RunLoop& loop;
  tcp::acceptor acceptor;
  std::weak_ptr<ShellCore> core;
  Timer retry;
  // Failed accepts since the last one that worked.
  std::size_t failures = 0;
  bool stopped = false;
};

void HttpListener::Impl::accepted(tcp::socket socket) {
  if (failures > 0) {
    loop.log().line("shell: accepting connections again after " + std::to_string(failures) +
                    " failed attempts");
    failures = 0;
  }
  boost::system::error_code ignored;
  socket.set_option(tcp::no_delay(true), ignored);
  HttpSession::start(std::move(socket), core);
}

bool HttpListener::Impl::acceptFailed(const boost::system::error_code& error) {
  auto shared = core.lock();
  if (!shared) return false;
  // A connection without a token gives its descriptor up first. Each retry costs one of them,
  // so this cannot spin.
  if (isOutOfResources(error) && shared->unauthenticated.dropOldest()) {
    shared->diagnostics.line("shell: out of descriptors",
                             "shell: accept failed: " + error.message() +
                                 "; closed the oldest connection without a token");
    return true;
  }
  // Nothing to give up: wait instead of spinning on the error, and say so once, not at every
  // attempt.
  if (failures++ == 0) {
    loop.log().line("shell: accept failed: " + error.message() + "; trying again every " +
                    secondsText(shared->limits.acceptRetrySeconds) + " s");
  }
  return false;
}

Result<std::shared_ptr<HttpListener>> HttpListener::open(RunLoop& loop, const std::string& address,
                                                         std::uint16_t port) {
  auto impl = std::make_unique<Impl>(loop);
  boost::system::error_code error;
  const auto ip = boost::asio::ip::make_address(address, error);
  if (error) return Status::InvalidArgument("not a numeric address: " + address);
  const tcp::endpoint endpoint(ip, port);
  impl->acceptor.open(endpoint.protocol(), error);
  if (!error) impl->acceptor.set_option(tcp::acceptor::reuse_address(true), error);
  if (!error) impl->acceptor.bind(endpoint, error);
  if (!error) impl->acceptor.listen(boost::asio::socket_base::max_listen_connections, error);
  if (error) {
    return Status::IOError("cannot listen on " + address + ":" + std::to_string(port) + ": " +
                           error.message());
  }
  const std::uint16_t bound = impl->acceptor.local_endpoint(error).port();
  auto listener = std::shared_ptr<HttpListener>(new HttpListener(std::move(impl)));
  listener->port_ = bound;
  return listener;
}

HttpListener::HttpListener(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

HttpListener::~HttpListener() = default;

void HttpListener::start(std::weak_ptr<ShellCore> core) {
  impl_->core = std::move(core);
  doAccept();
}

void HttpListener::stop() {
  impl_->stopped = true;
  impl_->retry.invalidate();
  boost::system::error_code ignored;
  impl_->acceptor.close(ignored);
}

void HttpListener::doAccept() {
  impl_->acceptor.async_accept([self = shared_from_this()](boost::system::error_code error,
                                                           tcp::socket socket) {
    if (self->impl_->stopped || error == boost::asio::error::operation_aborted) return;
    if (!error) {
      self->impl_->accepted(std::move(socket));
      return self->doAccept();
    }
    if (self->impl_->acceptFailed(error)) return self->doAccept();
    auto core = self->impl_->core.lock();
    if (!core) return;
    self->impl_->retry =
        self->impl_->loop.schedule(core->limits.acceptRetrySeconds, [weak = std::weak_ptr(self)] {
          if (auto listener = weak.lock()) listener->doAccept();
        });
  });
}

}  // namespace kinetra
