#include "shell/HttpSession.h"

// GCC's flow analysis flags code inside Beast and Asio once inlined here (null dereference
// warnings on paths Beast never takes); it is not ours to change.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <algorithm>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket/rfc6455.hpp>
#include <optional>
#include <string>

#include "shell/ShellCore.h"
#include "shell/UpgradeRequest.h"
#include "shell/WebSocketSession.h"

namespace kinetra {

namespace beast = boost::beast;
namespace http = beast::http;
using tcp = boost::asio::ip::tcp;

struct HttpSession::State {
  explicit State(tcp::socket s) : socket(std::move(s)) {}

  tcp::socket socket;
  beast::flat_buffer buffer;
  std::optional<http::request_parser<http::empty_body>> header;
  std::optional<http::request_parser<http::vector_body<std::uint8_t>>> body;
  std::shared_ptr<http::response<http::vector_body<std::uint8_t>>> response;
  std::vector<std::uint8_t> drain;
};

namespace {

std::string field(const http::fields& fields, http::field name) {
  const auto it = fields.find(name);
  return it == fields.end() ? std::string() : std::string(it->value());
}

HttpRequestHead headOf(const http::request<http::empty_body>& request) {
  HttpRequestHead head;
  head.method = std::string(request.method_string());
  head.target = std::string(request.target());
  const std::size_t question = head.target.find('?');
  head.path = head.target.substr(0, question);
  if (question != std::string::npos) head.query = head.target.substr(question + 1);
  head.host = field(request, http::field::host);
  head.hasOrigin = request.find(http::field::origin) != request.end();
  head.origin = field(request, http::field::origin);
  for (auto it = request.find(http::field::cookie);
       it != request.end() && it->name() == http::field::cookie; ++it) {
    if (!head.cookie.empty()) head.cookie += "; ";
    head.cookie += std::string(it->value());
  }
  head.webSocketUpgrade = beast::websocket::is_upgrade(request);
  return head;
}

}  // namespace

void HttpSession::start(tcp::socket socket, std::weak_ptr<ShellCore> core) {
  std::make_shared<HttpSession>(std::move(socket), std::move(core))->doReadHeader();
}

HttpSession::HttpSession(tcp::socket socket, std::weak_ptr<ShellCore> core)
    : state_(std::make_unique<State>(std::move(socket))), core_(std::move(core)) {}

HttpSession::~HttpSession() = default;

void HttpSession::armIdle() {
  auto core = core_.lock();
  if (!core) return;
  idle_ = core->loop.schedule(core->limits.idleSeconds, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->close();
  });
}

void HttpSession::close() {
  idle_.invalidate();
  boost::system::error_code ignored;
  state_->socket.shutdown(tcp::socket::shutdown_both, ignored);
  state_->socket.close(ignored);
}

void HttpSession::doReadHeader() {
  auto core = core_.lock();
  if (!core) return close();
  state_->body.reset();
  state_->header.emplace();
  state_->header->header_limit(static_cast<std::uint32_t>(core->limits.maxHeaderBytes));
  // The route decides the body's limit once the header is in (see onReadHeader); until then
  // only the largest one any route allows.
  state_->header->body_limit(std::max(core->limits.maxUploadBytes, core->limits.maxOtherBodyBytes));
  armIdle();
  http::async_read_header(state_->socket, state_->buffer, *state_->header,
                          [self = shared_from_this()](beast::error_code error, std::size_t) {
                            self->onReadHeader(error);
                          });
}

void HttpSession::onReadHeader(beast::error_code error) {
  auto core = core_.lock();
  if (!core) return close();
  if (error == http::error::header_limit) {
    return respond(HttpReply::text(431, "Request Header Fields Too Large\n"), false);
  }
  if (error == http::error::body_limit) {
    return respond(HttpReply::text(413, "Payload Too Large\n"), false);
  }
  if (error == http::error::end_of_stream || error == boost::asio::error::operation_aborted ||
      error == boost::asio::error::eof || error == boost::asio::error::connection_reset) {
    return close();
  }
  if (error) return respond(HttpReply::text(400, "Bad Request\n"), false);

  head_ = headOf(state_->header->get());
  const AccessPolicy::Decision decision = core->policy.check(head_);
  if (!decision.allowed) {
    if (!decision.redirect) {
      // The path only: a query may hold a token.
      core->loop.log().line("shell: refused " + head_.method + " " + head_.path.substr(0, 200) +
                            ": " + decision.reason);
    }
    return respond(decision.reply, decision.redirect && state_->header->get().keep_alive());
  }
  if (head_.webSocketUpgrade) {
    if (head_.path != "/ws") return respond(HttpReply::text(404, "Not Found\n"), false);
    idle_.invalidate();
    WebSocketSession::start(std::move(state_->socket), core_,
                            UpgradeRequest{state_->header->release()});
    return;
  }
  const std::size_t limit =
      HttpRouter::isUpload(head_) ? core->limits.maxUploadBytes : core->limits.maxOtherBodyBytes;
  // Refused from the header alone, before any of the body is read.
  if (const auto length = state_->header->content_length(); length && *length > limit) {
    core->loop.log().line("shell: refused a request body of " + std::to_string(*length) + " bytes");
    return respond(HttpReply::text(413, "Payload Too Large\n"), false);
  }
  doReadBody(limit);
}

void HttpSession::doReadBody(std::size_t limit) {
  state_->body.emplace(std::move(*state_->header));
  state_->header.reset();
  state_->body->body_limit(limit);
  http::async_read(state_->socket, state_->buffer, *state_->body,
                   [self = shared_from_this()](beast::error_code error, std::size_t) {
                     self->onReadBody(error);
                   });
}

void HttpSession::onReadBody(beast::error_code error) {
  auto core = core_.lock();
  if (!core) return close();
  if (error == http::error::body_limit) {
    return respond(HttpReply::text(413, "Payload Too Large\n"), false);
  }
  if (error == http::error::end_of_stream || error == boost::asio::error::operation_aborted) {
    return close();
  }
  if (error) return respond(HttpReply::text(400, "Bad Request\n"), false);
  http::request<http::vector_body<std::uint8_t>> request = state_->body->release();
  state_->body.reset();
  const bool keepAlive = request.keep_alive();
  respond(core->router.route(head_, std::move(request.body())), keepAlive);
}

void HttpSession::respond(HttpReply reply, bool keepAlive) {
  auto response = std::make_shared<http::response<http::vector_body<std::uint8_t>>>();
  response->version(11);
  response->result(static_cast<unsigned>(reply.status));
  response->set(http::field::server, "Kinetra");
  response->set("X-Content-Type-Options", "nosniff");
  response->set("X-Frame-Options", "DENY");
  response->set("Referrer-Policy", "no-referrer");
  response->set("Content-Security-Policy",
                "default-src 'self'; img-src 'self' blob: data:; style-src 'self' "
                "'unsafe-inline'; connect-src 'self'; frame-ancestors 'none'");
  for (const auto& [name, value] : reply.headers) response->insert(name, value);
  if (reply.status != 204 && reply.status != 304) {
    if (!reply.contentType.empty()) response->set(http::field::content_type, reply.contentType);
    if (reply.body) response->body() = *reply.body;
    response->prepare_payload();
  }
  response->keep_alive(keepAlive);
  state_->response = response;
  armIdle();
  http::async_write(state_->socket, *response,
                    [self = shared_from_this(), keepAlive](beast::error_code error, std::size_t) {
                      self->onWrite(error, keepAlive);
                    });
}

void HttpSession::onWrite(beast::error_code error, bool keepAlive) {
  state_->response.reset();
  if (error) return close();
  if (!keepAlive) return linger();
  doReadHeader();
}

void HttpSession::linger() {
  // Closing with unread bytes (the rest of a refused upload) would reset the connection and
  // could destroy the answer before the browser reads it: stop sending, read and drop what
  // still comes (a bounded amount, within the idle time), then close.
  boost::system::error_code ignored;
  state_->socket.shutdown(tcp::socket::shutdown_send, ignored);
  armIdle();
  doDrain();
}

void HttpSession::doDrain() {
  state_->drain.resize(64 * 1024);
  state_->socket.async_read_some(
      boost::asio::buffer(state_->drain),
      [self = shared_from_this()](beast::error_code error, std::size_t n) {
        self->drained_ += n;
        if (error || self->drained_ > kMaxDrainBytes) return self->close();
        self->doDrain();
      });
}

}  // namespace kinetra
