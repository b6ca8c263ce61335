#include "shell/HttpListener.h"

#pragma GCC diagnostic ignored "-Wnull-dereference"  // inside Asio, once inlined

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "shell/HttpSession.h"
#include "shell/ShellCore.h"

namespace kinetra {

using tcp = boost::asio::ip::tcp;

struct HttpListener::Impl {
  Impl(RunLoop& runLoop) : loop(runLoop), acceptor(runLoop.ioContext()) {}

  RunLoop& loop;
  tcp::acceptor acceptor;
  std::weak_ptr<ShellCore> core;
  Timer retry;
  bool stopped = false;
};

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
  impl_->acceptor.async_accept(
      [self = shared_from_this()](boost::system::error_code error, tcp::socket socket) {
        if (self->impl_->stopped || error == boost::asio::error::operation_aborted) return;
        if (error) {
          // Out of descriptors or the like: wait a little instead of spinning on the error.
          self->impl_->loop.log().line("shell: accept failed: " + error.message());
          self->impl_->retry = self->impl_->loop.schedule(0.1, [weak = std::weak_ptr(self)] {
            if (auto listener = weak.lock()) listener->doAccept();
          });
          return;
        }
        boost::system::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        HttpSession::start(std::move(socket), self->impl_->core);
        self->doAccept();
      });
}

}  // namespace kinetra
