#include "WebSocketTestClient.h"

#pragma GCC diagnostic ignored "-Wnull-dereference"  // inside Beast and Asio, once inlined

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>

namespace kinetra::testing {

namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = boost::asio::ip::tcp;

struct WebSocketTestClient::Impl {
  boost::asio::io_context context;
  websocket::stream<tcp::socket> stream{context};
  beast::flat_buffer buffer;

  // Runs until `done` or the bound; cancels what is still pending after the bound.
  bool runUntil(const bool& done, double seconds) {
    context.restart();
    context.run_for(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
    if (!done) {
      boost::system::error_code ignored;
      stream.next_layer().cancel(ignored);
      context.restart();
      context.run_for(std::chrono::milliseconds(500));
    }
    return done;
  }
};

WebSocketTestClient::WebSocketTestClient() : impl_(std::make_unique<Impl>()) {}
WebSocketTestClient::~WebSocketTestClient() = default;

bool WebSocketTestClient::connect(std::uint16_t port, const Handshake& handshake) {
  boost::system::error_code error;
  if (handshake.receiveBufferBytes > 0) {
    // Set before connecting, so that the window offered is small from the start.
    impl_->stream.next_layer().open(tcp::v4(), error);
    impl_->stream.next_layer().set_option(
        boost::asio::socket_base::receive_buffer_size(handshake.receiveBufferBytes), error);
    if (error) return false;
  }
  impl_->stream.next_layer().connect(
      tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port), error);
  if (error) return false;
  impl_->stream.set_option(
      websocket::stream_base::decorator([handshake](websocket::request_type& r) {
        if (handshake.origin) r.set(beast::http::field::origin, *handshake.origin);
        if (!handshake.cookie.empty()) r.set(beast::http::field::cookie, handshake.cookie);
      }));
  websocket::response_type response;
  bool done = false;
  bool accepted = false;
  impl_->stream.async_handshake(response, handshake.host, handshake.target,
                                [&](beast::error_code e) {
                                  done = true;
                                  accepted = !e;
                                });
  impl_->runUntil(done, 5);
  refusedStatus_ = accepted ? 0 : static_cast<int>(response.result_int());
  return accepted;
}

bool WebSocketTestClient::write(const std::string& message) {
  bool done = false;
  bool ok = false;
  impl_->stream.text(true);
  impl_->stream.async_write(boost::asio::buffer(message), [&](beast::error_code e, std::size_t) {
    done = true;
    ok = !e;
  });
  impl_->runUntil(done, 5);
  return ok;
}

std::optional<std::string> WebSocketTestClient::read(double seconds) {
  bool done = false;
  bool ok = false;
  impl_->buffer.consume(impl_->buffer.size());
  impl_->stream.async_read(impl_->buffer, [&](beast::error_code e, std::size_t) {
    done = true;
    ok = !e;
  });
  impl_->runUntil(done, seconds);
  if (!ok) return std::nullopt;
  return beast::buffers_to_string(impl_->buffer.data());
}

bool WebSocketTestClient::closedByServer(double seconds) {
  for (int i = 0; i < 100; ++i) {
    bool done = false;
    bool failed = false;
    impl_->buffer.consume(impl_->buffer.size());
    impl_->stream.async_read(impl_->buffer, [&](beast::error_code e, std::size_t) {
      done = true;
      failed = static_cast<bool>(e);
    });
    impl_->runUntil(done, seconds);
    if (!done) return false;  // timed out: still open
    if (failed) return true;
  }
  return false;
}

}  // namespace kinetra::testing
