#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kinetra {

// What the shell's routes see of a request: plain strings, so that only the session units deal
// with Boost.Beast. `path` is the target before any "?", `query` what follows it (both still
// percent-encoded).
struct HttpRequestHead {
  std::string method;
  std::string target;
  std::string path;
  std::string query;
  std::string host;     // the Host header; empty when absent
  std::string origin;   // the Origin header; empty when absent
  bool http10 = false;  // an HTTP/1.0 request, whose answer cannot be sent in chunks
  bool hasOrigin = false;
  std::string cookie;  // the Cookie header(s), joined with "; "
  bool webSocketUpgrade = false;
};

// A complete answer to one request.
struct HttpReply {
  int status = 200;
  std::string contentType;
  std::shared_ptr<const std::vector<std::uint8_t>> body;
  // When set, the body instead: its pieces, in order, made one at a time as the connection takes
  // them (an empty piece ends it), sent in chunks of unknown total length.
  std::function<std::vector<std::uint8_t>()> pieces;
  std::vector<std::pair<std::string, std::string>> headers;  // extra ones (Set-Cookie, ...)

  static HttpReply bytes(std::string contentType,
                         std::shared_ptr<const std::vector<std::uint8_t>> body) {
    HttpReply reply;
    reply.contentType = std::move(contentType);
    reply.body = std::move(body);
    return reply;
  }
  static HttpReply text(int status, const std::string& text) {
    HttpReply reply;
    reply.status = status;
    reply.contentType = "text/plain; charset=utf-8";
    reply.body = std::make_shared<const std::vector<std::uint8_t>>(text.begin(), text.end());
    return reply;
  }
};

}  // namespace kinetra
