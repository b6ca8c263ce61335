#include "support/LoopbackServer.h"

#include <openssl/ssl.h>

#include <array>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/ssl/error.hpp>
#include <boost/asio/ssl/stream.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <utility>

namespace kinetra::testing {

namespace asio = boost::asio;
using asio::ip::tcp;
using ErrorCode = boost::system::error_code;
using Steady = std::chrono::steady_clock;

namespace {

// Runs `io` until `done` or the deadline; on time-out closes `socket` so the operation ends
// with an error, and lets that completion run.
template <typename Socket>
void runUntilDone(asio::io_context& io, const bool& done, Steady::time_point deadline,
                  Socket& socket) {
  io.restart();
  while (!done && Steady::now() < deadline) io.run_one_until(deadline);
  if (done) return;
  ErrorCode ignored;
  socket.close(ignored);
  io.restart();
  while (!done && io.run_one() > 0) {
  }
}

class AsioPeer final : public PeerConnection {
 public:
  AsioPeer(asio::io_context& io, tcp::socket socket, Steady::duration bound,
           const std::atomic<bool>& stopping)
      : io_(io), socket_(std::move(socket)), bound_(bound), stopping_(stopping) {}

  bool write(std::string_view bytes) override {
    return !perform([&](auto handler) {
      if (tls_) {
        asio::async_write(*tls_, asio::buffer(bytes), handler);
      } else {
        asio::async_write(socket_, asio::buffer(bytes), handler);
      }
    });
  }

  std::optional<std::string> readExactly(std::size_t count) override {
    while (pending_.size() < count) {
      if (readSome()) return std::nullopt;
    }
    std::string result = pending_.substr(0, count);
    pending_.erase(0, count);
    return result;
  }

  std::optional<std::string> readUntil(std::string_view delimiter) override {
    for (;;) {
      const auto at = pending_.find(delimiter);
      if (at != std::string::npos) {
        std::string result = pending_.substr(0, at + delimiter.size());
        pending_.erase(0, at + delimiter.size());
        return result;
      }
      if (readSome()) return std::nullopt;
    }
  }

  bool readUntilClosed() override {
    for (;;) {
      const ErrorCode error = readSome();
      if (error == asio::error::eof || error == asio::ssl::error::stream_truncated) return true;
      if (error) return false;
    }
  }

  bool acceptTls(const TlsSettings& settings) override {
    context_ = std::make_unique<asio::ssl::context>(asio::ssl::context::tls_server);
    ErrorCode error;
    context_->use_certificate_chain(asio::buffer(settings.identity.certificatePem), error);
    if (!error) {
      context_->use_private_key(asio::buffer(settings.identity.privateKeyPem),
                                asio::ssl::context::pem, error);
    }
    if (error) return false;
    if (settings.maxVersion != 0) {
      SSL_CTX* native = context_->native_handle();
      SSL_CTX_set_security_level(native, 0);
      if (SSL_CTX_set_cipher_list(native, "DEFAULT:@SECLEVEL=0") != 1) return false;
      if (SSL_CTX_set_min_proto_version(native, 0) != 1) return false;
      if (SSL_CTX_set_max_proto_version(native, settings.maxVersion) != 1) return false;
    }
    tls_.emplace(socket_, *context_);
    return !perform(
        [&](auto handler) { tls_->async_handshake(asio::ssl::stream_base::server, handler); });
  }

  void close() override {
    ErrorCode ignored;
    socket_.close(ignored);
  }

 private:
  // Starts one operation through `start(handler)` and waits for it within the bound.
  template <typename Start>
  ErrorCode perform(Start start) {
    if (stopping_.load()) return asio::error::operation_aborted;
    bool done = false;
    ErrorCode result;
    start([&](const ErrorCode& error, auto...) {
      result = error;
      done = true;
    });
    runUntilDone(io_, done, Steady::now() + bound_, socket_);
    return result;
  }

  ErrorCode readSome() {
    std::size_t received = 0;
    const ErrorCode error = perform([&](auto handler) {
      auto counting = [&received, handler](const ErrorCode& readError, std::size_t length) {
        received = length;
        handler(readError, length);
      };
      if (tls_) {
        tls_->async_read_some(asio::buffer(chunk_), counting);
      } else {
        socket_.async_read_some(asio::buffer(chunk_), counting);
      }
    });
    pending_.append(chunk_.data(), received);
    return error;
  }

  asio::io_context& io_;
  tcp::socket socket_;
  std::unique_ptr<asio::ssl::context> context_;
  std::optional<asio::ssl::stream<tcp::socket&>> tls_;
  Steady::duration bound_;
  const std::atomic<bool>& stopping_;
  std::array<char, 16 * 1024> chunk_{};
  std::string pending_;
};

}  // namespace

struct LoopbackServer::Impl {
  asio::io_context io{1};
  tcp::acceptor acceptor{io};
  std::atomic<bool> stopping{false};
  std::unique_ptr<AsioPeer> peer;  // touched on the server thread only
};

LoopbackServer::LoopbackServer(Script script, double boundSeconds)
    : impl_(std::make_unique<Impl>()) {
  const tcp::endpoint local(asio::ip::make_address_v4("127.0.0.1"), 0);
  impl_->acceptor.open(local.protocol());
  impl_->acceptor.bind(local);
  impl_->acceptor.listen();
  port_ = impl_->acceptor.local_endpoint().port();
  const auto bound =
      std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(boundSeconds));
  thread_ = std::thread([this, bound, script = std::move(script)] {
    Impl& impl = *impl_;
    tcp::socket socket(impl.io);
    bool accepted = false;
    bool done = false;
    impl.acceptor.async_accept(socket, [&](const ErrorCode& error) {
      accepted = !error;
      done = true;
    });
    runUntilDone(impl.io, done, Steady::now() + bound, impl.acceptor);
    if (accepted && !impl.stopping.load()) {
      impl.peer = std::make_unique<AsioPeer>(impl.io, std::move(socket), bound, impl.stopping);
    }
    script(impl.peer.get());
    impl.peer.reset();
    finished_.store(true);
  });
}

LoopbackServer::~LoopbackServer() {
  impl_->stopping.store(true);
  asio::post(impl_->io, [&impl = *impl_] {
    ErrorCode ignored;
    impl.acceptor.close(ignored);
    if (impl.peer) impl.peer->close();
  });
  join();
}

void LoopbackServer::join() {
  if (thread_.joinable()) thread_.join();
}

std::uint16_t LoopbackServer::unusedPort() {
  asio::io_context io;
  tcp::acceptor acceptor(io, tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
  return acceptor.local_endpoint().port();
}

bool legacyTlsHandshakeSucceeds(std::uint16_t port, int maxVersion) {
  asio::io_context io;
  asio::ssl::context context(asio::ssl::context::tls_client);
  SSL_CTX* native = context.native_handle();
  SSL_CTX_set_security_level(native, 0);
  SSL_CTX_set_cipher_list(native, "DEFAULT:@SECLEVEL=0");
  SSL_CTX_set_min_proto_version(native, 0);
  SSL_CTX_set_max_proto_version(native, maxVersion);
  context.set_verify_mode(asio::ssl::verify_none);
  asio::ssl::stream<tcp::socket> client(io, context);
  ErrorCode error;
  client.next_layer().connect(tcp::endpoint(asio::ip::make_address_v4("127.0.0.1"), port), error);
  if (!error) client.handshake(asio::ssl::stream_base::client, error);
  return !error;
}

}  // namespace kinetra::testing
